// Saved pages answering the plug-in's downloads.
#include "replay.h"

#include "platform/platform.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A catalogue directory per test.
class ReplayDir : public ::testing::Test {
protected:
  std::string Read(const std::string& name) const {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(dir_.File(name), bytes)) << name;
    return bytes;
  }
  bool Exists(const std::string& name) const {
    return fs::exists(dir_.File(name));
  }
  Catalogue Load() const {
    Catalogue catalogue;
    std::string error;
    EXPECT_TRUE(LoadCatalogue(dir_.Path(), catalogue, error)) << error;
    return catalogue;
  }

  TempDir dir_;
};

TEST(ReplayIndex, SkipsCommentsAndBlankLinesAndAcceptsBothLineEnds) {
  std::vector<ReplayEntry> entries;
  std::string error;
  ASSERT_TRUE(ParseReplayIndex("# saved 2024\r\n"
                               "\r\n"
                               "/search?q=1\tpages/a.html\r\n"
                               "\n"
                               "http://h.example/b\tb.html\n"
                               "/c\tc d.html",
                               entries, error))
      << error;
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].address, "/search?q=1");
  EXPECT_EQ(entries[0].file, "pages/a.html");
  EXPECT_EQ(entries[1].address, "http://h.example/b");
  EXPECT_EQ(entries[1].file, "b.html");
  EXPECT_EQ(entries[2].file, "c d.html") << "last line without a line end";
}

TEST(ReplayIndex, RejectsLinesThatAreNotAddressTabFile) {
  for (const char* bad : {"/a b.html\n", "\tb.html\n", "/a\t\n", "/a\t\r\n"}) {
    std::vector<ReplayEntry> entries;
    std::string error;
    EXPECT_FALSE(ParseReplayIndex(std::string("# ok\n/x\tx.html\n") + bad,
                                  entries, error))
        << bad;
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
  }
}

TEST(ReplayAddress, Matching) {
  struct Case {
    const char* pattern;
    const char* address;
    bool matches;
  } cases[] = {
      {"/search?isbn=1", "http://tomefinder.example/search?isbn=1", true},
      {"/search?isbn=1", "https://other.example:8080/search?isbn=1", true},
      {"/search?isbn=1", "http://h.example/search?isbn=12", false},
      {"/search?isbn=1", "http://h.example/search?isbn=1&x", false},
      {"/search?isbn=1", "http://h.example/x/search?isbn=1", false},
      {"/search", "http://h.example/search?isbn=1", false},
      {"/", "http://h.example/", true},
      {"/", "http://h.example", false},
      {"/b", "http://h.example?a=/b", false},
      {"?a=/b", "http://h.example?a=/b", false},
      {"/search?isbn=1", "/search?isbn=1", false},
      {"/b/search", "http://h.example/b/search", true},
      {"http://h.example/a", "http://h.example/a", true},
      {"http://h.example/a", "http://other.example/a", false},
      {"http://h.example/a", "http://h.example/a?", false},
      {"/Search", "http://h.example/search", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplayAddressMatches(c.pattern, c.address), c.matches)
        << c.pattern << " vs " << c.address;
}

TEST(ReplayAddress, FirstMatchingLineWins) {
  Catalogue catalogue;
  catalogue.entries = {{"http://h.example/x", "exact.html"},
                       {"/x", "first.html"},
                       {"/x", "second.html"}};
  ASSERT_NE(FindReplay(catalogue, "http://h.example/x"), nullptr);
  EXPECT_EQ(FindReplay(catalogue, "http://h.example/x")->file, "exact.html");
  ASSERT_NE(FindReplay(catalogue, "http://other.example/x"), nullptr);
  EXPECT_EQ(FindReplay(catalogue, "http://other.example/x")->file,
            "first.html");
  EXPECT_EQ(FindReplay(catalogue, "http://h.example/y"), nullptr);
}

TEST_F(ReplayDir, LoadReportsAMissingIndexOrListedFile) {
  Catalogue catalogue;
  std::string error;
  EXPECT_FALSE(LoadCatalogue(dir_.Path(), catalogue, error));
  EXPECT_NE(error.find("index.tsv"), std::string::npos) << error;

  dir_.Write("index.tsv", "/a\ta.html\n/b\tmissing.html\n");
  dir_.Write("a.html", "a");
  EXPECT_FALSE(LoadCatalogue(dir_.Path(), catalogue, error));
  EXPECT_NE(error.find("missing.html"), std::string::npos) << error;

  dir_.Write("index.tsv", "/a\ta.html\nno tab here\n");
  EXPECT_FALSE(LoadCatalogue(dir_.Path(), catalogue, error));
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST_F(ReplayDir, DownloadCopiesTheListedFileByteForByte) {
  using namespace std::string_literals;
  const std::string page = "<html>\r\n\x82\xa0\0tail\n"s;
  dir_.Write("index.tsv", "/a\tpages/a.html\n");
  dir_.Write("pages/a.html", page);
  Catalogue catalogue = Load();

  dir_.Write("local.html", "an older, longer page that must go entirely");
  EXPECT_TRUE(ReplayDownload(&catalogue, dir_.File("local.html"),
                             "http://h.example/a"));
  EXPECT_EQ(Read("local.html"), page);
}

TEST_F(ReplayDir, DownloadOfAnUnlistedAddressLeavesNoFile) {
  dir_.Write("index.tsv", "/a\ta.html\n");
  dir_.Write("a.html", "a");
  Catalogue catalogue = Load();

  dir_.Write("local.html", "left from an earlier download");
  EXPECT_FALSE(ReplayDownload(&catalogue, dir_.File("local.html"),
                              "http://h.example/b"));
  EXPECT_FALSE(Exists("local.html"));

  dir_.Write("local.html", "left from an earlier download");
  EXPECT_FALSE(ReplayDownload(nullptr, dir_.File("local.html"), "http://h/a"))
      << "no catalogue at all";
  EXPECT_FALSE(Exists("local.html"));

  EXPECT_FALSE(ReplayDownload(nullptr, dir_.File("local.html"), "http://h/a"))
      << "nothing there to delete";
}

TEST_F(ReplayDir, DownloadThatCannotBeWrittenFails) {
  dir_.Write("index.tsv", "/a\ta.html\n");
  dir_.Write("a.html", "a");
  Catalogue catalogue = Load();
  EXPECT_FALSE(ReplayDownload(&catalogue, dir_.File("no/such/dir/local.html"),
                              "http://h.example/a"));
}

} // namespace
