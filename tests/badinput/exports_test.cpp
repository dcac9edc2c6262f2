// The plug-in's two exports called directly, with what no host passes:
// null and empty texts, and buffer sizes at and beyond their range.
//
// This executable is itself the host the plug-in looks for: it is named
// shelfix.exe and exports the stand-in host's services, so that a run goes
// all the way. The plug-in's messages (standard error on POSIX; on
// Windows message boxes, which the host's preparation answers and writes
// there) are read from a file standard error is pointed to during the call.
#include "common/abi.h"
#include "desktop.h"
#include "platform/platform.h"
#include "services.h"
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <set>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The messages file takes bytes as they are: no CR added on Windows.
#ifndef O_BINARY
#define O_BINARY 0
#endif

const std::string kCode = "9784000000024";
const std::string kNoCodes = "検索するISBNを取得できませんでした\n";
const std::string kCannotWrite = "結果ファイルを書き込めませんでした。";

struct Plugin {
  LibraryHandle library = nullptr;
  TfuncGetInfo getInfo = nullptr;
  TDownlaodFunc download = nullptr;
};

const Plugin& Loaded() {
  static const Plugin plugin = [] {
    Plugin p;
    PrepareHostProcess();
    p.library = OpenLibrary(TOMEFINDER_SO);
    p.getInfo =
        reinterpret_cast<TfuncGetInfo>(LibrarySymbol(p.library, "funcGetInfo"));
    p.download = reinterpret_cast<TDownlaodFunc>(
        LibrarySymbol(p.library, "DownlaodFunc"));
    return p;
  }();
  return plugin;
}

// The path with the system's separators, as a host passes it and as a
// listing names it.
std::string Normal(const std::string& path) {
  return fs::path(path).lexically_normal().string();
}

// Every path under root, to see what a run wrote.
std::set<std::string> Listing(const std::string& root) {
  std::set<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    paths.insert(Normal(entry.path().string()));
  return paths;
}

class Exports : public ::testing::Test {
protected:
  TempDir dir;
  fs::path cwd = fs::current_path();

  void SetUp() override {
    ASSERT_NE(Loaded().download, nullptr) << "cannot load " << TOMEFINDER_SO;
    // The catalogue: one code, whose search page has no detail link.
    dir.Write("catalogue/index.tsv", "/pro/?i=" + kCode + "\tsearch.html\n");
    dir.Write("catalogue/search.html", "<html>\n<p>no match</p>\n</html>\n");
    fs::create_directories(dir.File("data"));
    ServiceSettings settings;
    Catalogue catalogue;
    std::string error;
    ASSERT_TRUE(LoadCatalogue(dir.File("catalogue"), catalogue, error))
        << error;
    settings.catalogue = std::move(catalogue);
    ConfigureServices(std::move(settings));
    // A run with no data directory puts its scratch file here.
    fs::current_path(dir.Path());
  }
  void TearDown() override { fs::current_path(cwd); }

  // What the plug-in reported during the call, as UTF-8.
  std::string Messages(const std::function<void()>& call) {
    const std::string path = dir.File(".stderr");
    std::fflush(stderr);
    const int saved = dup(2);
    const int file =
        open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_BINARY, 0600);
    dup2(file, 2);
    close(file);
    call();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    const std::string messages = ReadBytes(path);
    fs::remove(path);
    return messages;
  }
};

} // namespace

TEST_F(Exports, DownloadWithNullAndEmptyTexts) {
  const std::string data = Normal(dir.File("data") + "/");
  const std::string out = Normal(dir.File("result.txt"));
  const char* const d = data.c_str();
  const char* const o = out.c_str();
  const char* const k = kCode.c_str();
  const std::string line = kCode + std::string(67, ',') + "\r\n";
  const std::string cannot = kCannotWrite + " 検索を中止しました。\n";
  const std::string none = "<missing>";
  const std::string scratch = data + "Temp.html";
  // The data directory is used as passed: with none, the scratch file
  // lands in the working directory.
  const std::string here = Normal(dir.File("Temp.html"));
  struct Case {
    const char* name;
    const char *dataDir, *outFile, *codeList;
    std::string messages;
    std::string result;               // "<missing>" for none
    std::vector<std::string> written; // besides what was there before
  } cases[] = {
      {"all null", nullptr, nullptr, nullptr, kNoCodes, none, {}},
      {"all empty", "", "", "", kNoCodes, none, {}},
      {"no code list", d, o, nullptr, kNoCodes, none, {}},
      {"an empty code list", d, o, "", kNoCodes, none, {}},
      {"no result path", d, nullptr, k, cannot, none, {scratch}},
      {"an empty result path", d, "", k, cannot, none, {scratch}},
      {"no data directory", nullptr, o, k, "", line, {out, here}},
      {"an empty data directory", "", o, k, "", line, {out, here}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A result from an earlier run, which a run deletes first.
    fs::remove(dir.File("Temp.html"));
    fs::remove(data + "Temp.html");
    fs::remove(out);
    if (c.outFile == o)
      dir.Write("result.txt", "from an earlier run");
    std::set<std::string> expected = Listing(dir.Path());
    expected.erase(out);
    expected.insert(c.written.begin(), c.written.end());
    const std::string messages =
        Messages([&] { Loaded().download(c.dataDir, c.outFile, c.codeList); });
    EXPECT_EQ(messages, c.messages);
    EXPECT_EQ(ReadBytes(out), c.result);
    EXPECT_EQ(Listing(dir.Path()), expected);
  }
}

TEST_F(Exports, InfoWithBufferSizesAndNullBuffers) {
  const std::string texts[5] = {"DownlaodFunc", Sjis("ISBN検索 Tomefinder"),
                                Sjis("Marlow(rivet改) based on ZEPHAL"),
                                "1.2.2", "3"};
  // Buffers of the largest size that counts, and a guard after it.
  constexpr std::size_t kSize = 65536, kGuard = 64;
  struct Case {
    std::uint32_t bufferSize;
    std::size_t cut; // bytes of each text written before the NUL
    bool nulls[5];   // which buffers are null
  } cases[] = {
      {0, 0, {}},
      {1, 0, {}},
      {6, 5, {}},
      {65535, 65534, {}},
      // Only the low 16 bits count.
      {0x00010000, 0, {}},
      {0xFFFF0006, 5, {}},
      {0x8000FFFF, 65534, {}},
      {256, 255, {true, true, true, true, true}},
      {256, 255, {true, false, true, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bufferSize);
    std::vector<std::vector<char>> storage(
        5, std::vector<char>(kSize + kGuard, '#'));
    char* buffers[5];
    for (int i = 0; i < 5; ++i)
      buffers[i] = c.nulls[i] ? nullptr : storage[i].data();
    Loaded().getInfo(0, buffers[0], buffers[1], buffers[2], buffers[3],
                     buffers[4], c.bufferSize);
    const bool writes = (c.bufferSize & 0xFFFF) != 0;
    for (int i = 0; i < 5; ++i) {
      const std::vector<char>& buffer = storage[i];
      const std::string text = texts[i].substr(0, c.cut);
      const std::size_t untouched = writes && !c.nulls[i] ? text.size() + 1 : 0;
      if (untouched > 0) {
        EXPECT_EQ(Hex(std::string(buffer.data())), Hex(text)) << i;
      }
      const auto changed =
          std::find_if(buffer.begin() + untouched, buffer.end(),
                       [](char byte) { return byte != '#'; });
      EXPECT_EQ(changed, buffer.end())
          << "buffer " << i << " written at " << changed - buffer.begin();
    }
  }
}
