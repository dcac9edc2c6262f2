// Live pages recorded as a replay catalogue, read back by the replay code.
#include "recorder.h"

#include "platform/platform.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

TEST(Recorder, IndexAddress) {
  struct Case {
    const char* address;
    const char* indexed;
  } cases[] = {
      {"http://127.0.0.1:8080/pro/?i=9784000000017", "/pro/?i=9784000000017"},
      {"http://h.example/tomefinder/details/1", "/tomefinder/details/1"},
      {"http://h.example/", "/"},
      {"http://h.example", "http://h.example"},
      {"http://h.example?a=/b", "http://h.example?a=/b"},
      {"not an address", "not an address"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IndexAddress(c.address), c.indexed) << c.address;
    EXPECT_TRUE(ReplayAddressMatches(IndexAddress(c.address), c.address))
        << "what is indexed replays for the address it came from: "
        << c.address;
  }
}

TEST(Recorder, PageFileNames) {
  EXPECT_EQ(PageFileName(3, "/pro/?i=9784000000017"),
            "0003-pro-i-9784000000017.html");
  EXPECT_EQ(PageFileName(12345, "/"), "12345-page.html");
  EXPECT_EQ(PageFileName(1, "http://h.example"), "0001-http-h-example.html");
  EXPECT_EQ(PageFileName(1, "/a/\x82\xa0/b?c=%20"), "0001-a-b-c-20.html")
      << "only ASCII letters and digits";
  EXPECT_EQ(PageFileName(1, "/" + std::string(200, 'x')),
            "0001-" + std::string(60, 'x') + ".html");
}

class RecordingDir : public ::testing::Test {
protected:
  Recording Open(const std::string& dir) {
    Recording recording;
    std::string error;
    EXPECT_TRUE(OpenRecording(dir, recording, error)) << error;
    return recording;
  }
  void Record(Recording& recording, const std::string& address,
              const std::string& page) {
    std::string error;
    EXPECT_TRUE(RecordPage(recording, address, page, error)) << error;
  }
  // What replay mode serves for the address from the recorded directory.
  std::string Replayed(const std::string& dir, const std::string& address) {
    Catalogue catalogue;
    std::string error;
    EXPECT_TRUE(LoadCatalogue(dir, catalogue, error)) << error;
    const std::string local = dir_.File("local.html");
    if (!ReplayDownload(&catalogue, local, address))
      return "<not served>";
    return ReadBytes(local);
  }

  TempDir dir_;
};

TEST_F(RecordingDir, RecordedPagesReplayByteForByteUnderAnyBase) {
  using namespace std::string_literals;
  const std::string dir = dir_.File("new/catalogue");
  Recording recording = Open(dir);
  const std::string search = "<html>\r\n\xe6\x98\x9f\0search"s;
  Record(recording, "http://127.0.0.1:4000/pro/?i=9784000000017", search);
  Record(recording, "http://127.0.0.1:4000/tomefinder/details/1", "detail");
  Record(recording, "http://127.0.0.1:4000", "bare base");

  EXPECT_EQ(Replayed(dir, "http://127.0.0.1:4000/pro/?i=9784000000017"),
            search);
  EXPECT_EQ(Replayed(dir, "http://tomefinder.example/pro/?i=9784000000017"),
            search);
  EXPECT_EQ(Replayed(dir, "http://other:1/tomefinder/details/1"), "detail");
  EXPECT_EQ(Replayed(dir, "http://127.0.0.1:4000"), "bare base");
  EXPECT_EQ(Replayed(dir, "http://127.0.0.1:5000"), "<not served>")
      << "a whole address stays tied to its host";
  EXPECT_EQ(Replayed(dir, "http://127.0.0.1:4000/pro/?i=9784000000024"),
            "<not served>");
}

TEST_F(RecordingDir, AnAddressKeepsItsFirstPage) {
  Recording recording = Open(dir_.Path());
  Record(recording, "http://h.example/a", "first");
  Record(recording, "http://other.example/a", "second, same path");
  EXPECT_EQ(recording.entries.size(), 1u);
  EXPECT_EQ(Replayed(dir_.Path(), "http://h.example/a"), "first");
}

// A second run adds to the catalogue; its files never overwrite the first
// run's, even where an earlier file name is taken by something else.
TEST_F(RecordingDir, ASecondRunAddsToTheCatalogue) {
  {
    Recording first = Open(dir_.Path());
    Record(first, "http://h.example/a", "page a");
  }
  dir_.Write("0002-b.html", "a stray file in the way");
  Recording second = Open(dir_.Path());
  ASSERT_EQ(second.entries.size(), 1u);
  Record(second, "http://h.example/a", "page a again");
  Record(second, "http://h.example/b", "page b");
  EXPECT_EQ(Replayed(dir_.Path(), "http://h.example/a"), "page a");
  EXPECT_EQ(Replayed(dir_.Path(), "http://h.example/b"), "page b");
  EXPECT_EQ(ReadBytes(dir_.File("0002-b.html")), "a stray file in the way");
  EXPECT_FALSE(fs::exists(dir_.File("index.tsv.new")));
}

TEST_F(RecordingDir, AddressesAnIndexLineCannotHoldAreRefused) {
  Recording recording = Open(dir_.Path());
  for (const char* address :
       {"http://h.example/a\tb", "http://h.example/a\r\nb", "#comment", ""}) {
    std::string error;
    EXPECT_FALSE(RecordPage(recording, address, "page", error)) << address;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_TRUE(recording.entries.empty());
  EXPECT_FALSE(fs::exists(dir_.File("index.tsv")));
}

TEST_F(RecordingDir, OpeningFailsForABrokenIndexOrAFileInTheWay) {
  Recording recording;
  std::string error;
  dir_.Write("broken/index.tsv", "no tab on this line\n");
  EXPECT_FALSE(OpenRecording(dir_.File("broken"), recording, error));
  EXPECT_NE(error.find("line 1"), std::string::npos) << error;

  dir_.Write("plain-file", "x");
  EXPECT_FALSE(OpenRecording(dir_.File("plain-file"), recording, error));
}

} // namespace
