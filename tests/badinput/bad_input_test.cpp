// Bad input, end to end: the stand-in host drives the built plug-in with
// code lists, pages, dictionaries and paths that no careful host, editor
// or catalogue would give. The plug-in runs inside the host's process, so
// every case must end, without a crash and within its time, and leave no
// file behind but the result file and the scratch file; a run that cannot
// write its result must say so and leave no result.
//
// By default the host is the native build's. TF_BADINPUT_BIN names another
// folder holding a shelfix.exe and its plug-in, and TF_BADINPUT_EMULATOR
// the command, words separated by spaces, that runs that shelfix.exe (for
// the Windows build under Wine: cmake/wine-run.sh LOADER PREFIX). A host
// run through an emulator is handed Windows paths (Z:\...), as a real host
// passes them.
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string EnvironmentOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

const std::string kBin = EnvironmentOr("TF_BADINPUT_BIN", TF_BIN_DIR);
const std::string kEmulator = EnvironmentOr("TF_BADINPUT_EMULATOR", "");
// Each run's time limit in seconds: far above the slowest case, so that
// only a hang reaches it. Under an emulator every run is many times slower
// (the list of 100,000 codes takes about two minutes under Wine).
const std::string kTimeLimit = kEmulator.empty() ? "240" : "900";
const std::string kBase = "http://catalogue.test";
const std::string kCode = "9784000000024";
const std::string kCannotWrite = "結果ファイルを書き込めませんでした。";

std::string Quoted(const std::string& arg) {
  std::string out = "'";
  for (char c : arg)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The path as the host is handed it: under an emulator, the Windows path of
// the absolute path on drive Z:, which Wine maps to "/".
std::string HostPath(const std::string& path) {
  if (kEmulator.empty())
    return path;
  std::string windows = "Z:" + path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

// The shell words that start the host.
std::string HostCommand() {
  std::string command;
  std::istringstream words(kEmulator);
  for (std::string word; words >> word;)
    command += Quoted(word) + " ";
  return command + Quoted(kBin + "/shelfix.exe");
}

// The same bytes every run.
std::string Noise(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string Repeat(const std::string& text, std::size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i)
    out += text;
  return out;
}

// A search page whose second line links the detail page at path.
std::string SearchPage(const std::string& path) {
  return "<html>\n<li><a href=\"" + path + "\">x</a></li>\n</html>\n";
}

// A detail page (UTF-8) with every row the reader looks for, an author
// link to /tomefinder/authors/1, and the title cell and the statement of
// responsibility given.
std::string
DetailPage(const std::string& title = "試験の本 (2)",
           const std::string& statement = "山田 太郎 著 ; 鈴木 花子 訳") {
  return "<html>\n<p class=\"p-C\">" + statement +
         "</p>\n"
         "<table>\n<tr>\n<th>書名</th>\n<td>" +
         title +
         "</td>\n</tr>\n"
         "<tr>\n<th>シリーズ名</th>\n<td>\n見本文庫\n</td>\n</tr>\n"
         "<tr>\n<th>著作者名</th>\n<td>\n"
         "<a href=\"/tomefinder/authors/1\">山田 太郎</a>,\n"
         "</td>\n</tr>\n"
         "<tr>\n<th>出版元</th>\n<td>見本出版</td>\n</tr>\n"
         "<tr>\n<th>刊行年月</th>\n<td>2006.10</td>\n</tr>\n"
         "<tr>\n<th>大きさ</th>\n<td>文庫</td>\n</tr>\n"
         "</table>\n"
         "<div id=\"jsid-detailMainText\">\n本文。<br>続き。\n</div>\n"
         "</html>\n";
}

// A search page without a detail link.
const std::string kUnlinked = "<html>\n<p>no match</p>\n</html>\n";

std::string AuthorPage() {
  return "<html>\n<table>\n<tr>\n<th>人物名ヨミ</th>\n<td>\nヤマダ, "
         "タロウ</td>\n"
         "</tr>\n</table>\n</html>\n";
}

// Every file under root with its bytes' hash, to see what a run wrote.
std::map<std::string, std::size_t> Snapshot(const std::string& root) {
  std::map<std::string, std::size_t> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string bytes;
    if (entry.is_regular_file())
      bytes = ReadBytes(entry.path().string());
    files[entry.path().string()] = std::hash<std::string>()(bytes);
  }
  return files;
}

// The items of one result line as the stand-in host splits them.
std::size_t ItemCount(const std::string& line) {
  std::size_t items = 1;
  bool quoted = false;
  for (char c : line) {
    if (c == '"')
      quoted = !quoted;
    else if (c == ',' && !quoted)
      ++items;
  }
  return items;
}

// One page the catalogue serves differently; the others stay good.
struct PageCase {
  const char* name;
  std::string address;
  std::string page;
  std::size_t lines; // of the result
};

const std::string kSearch = "/pro/?i=" + kCode;
const std::string kDetail = "/tomefinder/details/1";
const std::string kAuthor = "/tomefinder/authors/1";

struct Outcome {
  int status = -1;      // the host's exit status; -1 when it did not exit
  std::string messages; // what the plug-in reported, as UTF-8
  std::string result;   // the result file, or "<missing>"
};

class BadInput : public ::testing::Test {
protected:
  TempDir dir;
  std::string data = dir.Path() + "/data/";
  std::string catalogue = dir.Path() + "/catalogue";
  std::string out = dir.File("result.txt");
  std::string index;

  void SetUp() override {
    fs::create_directories(data);
    fs::create_directories(catalogue);
    Serve("/pro/?i=" + kCode, SearchPage("/tomefinder/details/1"));
    Serve("/tomefinder/details/1", DetailPage());
    Serve("/tomefinder/authors/1", AuthorPage());
  }

  // The catalogue answers address with page; a later page for the same
  // address wins.
  void Serve(const std::string& address, const std::string& page) {
    const std::string file = "page" + std::to_string(index.size()) + ".html";
    dir.Write("catalogue/" + file, page);
    index = address + "\t" + file + "\n" + index;
    dir.Write("catalogue/index.tsv", index);
  }

  // Runs the host on the code list; options go before it. The files the
  // run may write are the result file and the scratch file, unless the
  // case names others.
  Outcome Run(const std::string& codes,
              const std::vector<std::string>& options = {},
              const std::string& dataDir = "", const std::string& outFile = "",
              std::vector<std::string> writable = {}) {
    const std::string codesFile = dir.Write("codes.txt", codes);
    const std::string runData = dataDir.empty() ? data : dataDir;
    const std::string runOut = outFile.empty() ? out : outFile;
    if (writable.empty())
      writable = {runOut, runData + "Temp.html"};
    const auto before = Snapshot(dir.Path());
    const auto binBefore = Snapshot(kBin);
    std::string command = "TOMEFINDER_BASE_URL=" + Quoted(kBase) +
                          " timeout -k 5 " + kTimeLimit + " " + HostCommand();
    for (const std::string& arg : options)
      command += " " + Quoted(arg);
    command += " --data-dir " + Quoted(HostPath(runData)) + " --out " +
               Quoted(HostPath(runOut)) + " --catalogue " +
               Quoted(HostPath(catalogue)) + " --codes-file " +
               Quoted(HostPath(codesFile)) + " >/dev/null 2>" +
               Quoted(dir.File("stderr")) + " </dev/null";
    Outcome run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.messages = ReadBytes(dir.File("stderr"));
    run.result = fs::is_regular_file(runOut) ? ReadBytes(runOut) : "<missing>";
    fs::remove(dir.File("stderr"));
    ExpectOnlyWritten(before, Snapshot(dir.Path()), writable);
    EXPECT_EQ(binBefore, Snapshot(kBin)) << "the run wrote beside the host";
    return run;
  }

  void ExpectEachRunEnds(const std::vector<PageCase>& cases);

  void ExpectOnlyWritten(const std::map<std::string, std::size_t>& before,
                         const std::map<std::string, std::size_t>& after,
                         const std::vector<std::string>& writable) {
    auto allowed = [&](const std::string& path) {
      for (const std::string& file : writable)
        if (fs::path(file).lexically_normal() == fs::path(path))
          return true;
      return false;
    };
    for (const auto& [path, hash] : after) {
      auto was = before.find(path);
      if ((was == before.end() || was->second != hash) && !allowed(path))
        ADD_FAILURE() << "the run wrote " << path;
    }
    for (const auto& [path, hash] : before)
      if (!after.contains(path) && !allowed(path))
        ADD_FAILURE() << "the run removed " << path;
  }
};

// A run that gets to its end: the host returned from the plug-in, the
// plug-in said nothing, and every line of the result reads as 68 items.
void ExpectCompleteRun(const Outcome& run, std::size_t lines) {
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.messages, "");
  ASSERT_NE(run.result, "<missing>");
  std::size_t count = 0;
  for (std::size_t start = 0, end;
       (end = run.result.find("\r\n", start)) != std::string::npos;
       start = end + 2, ++count)
    ASSERT_EQ(ItemCount(run.result.substr(start, end - start)), 68u)
        << "line " << count + 1;
  EXPECT_EQ(count, lines);
}

void BadInput::ExpectEachRunEnds(const std::vector<PageCase>& cases) {
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.name);
    Serve(c.address, c.page);
    ExpectCompleteRun(Run(kCode), c.lines);
    SetUp(); // the good pages again
  }
}

} // namespace

TEST_F(BadInput, CodeLists) {
  const std::string megabyte(1 << 20, '7');
  Serve("/pro/?i=" + megabyte, kUnlinked);
  Serve("/pro/?i=9784000000031", kUnlinked);
  Serve("/pro/?i=9784000000031\x81", kUnlinked);
  struct Case {
    const char* name;
    std::string codes;
    std::vector<std::string> options;
    std::size_t lines;
  } cases[] = {
      {"a 1 MB line, checked by the host", megabyte, {}, 0},
      {"a 1 MB line, looked up", megabyte, {"--check", "identity"}, 1},
      // The host hands the list over as a C string: it ends at the NUL.
      {"NUL bytes", kCode + '\0' + "garbage\r\n" + kCode, {}, 1},
      {"a lead byte at its end", kCode + "\r\n9784000000031\x81", {}, 1},
      {"a lead byte at its end, looked up",
       kCode + "\r\n9784000000031\x81",
       {"--check", "identity"},
       2},
      {"a lone lead byte", "\x81", {"--check", "identity"}, 0},
      // Every thousandth code is in the catalogue; the others are looked up
      // and not found, which writes no scratch file.
      {"100,000 lines",
       Repeat("9784000000031\r\n" + Repeat("9784000000048\r\n", 999), 100),
       {},
       100},
      {"binary noise", Noise(1 << 16, 1), {"--check", "identity"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Outcome run = Run(c.codes, c.options);
    ExpectCompleteRun(run, c.lines);
  }
}

TEST_F(BadInput, CodeEndingInALeadByteIsWrittenWithAQuestionMark) {
  Serve("/pro/?i=9784000000031\x81", kUnlinked);
  Outcome run = Run("9784000000031\x81", {"--check", "identity"});
  EXPECT_EQ(run.result, "9784000000031?" + std::string(67, ',') + "\r\n");
}

TEST_F(BadInput, PagesWithATenMegabyteLine) {
  const std::string tenMegabytes(10 << 20, 'x');
  std::string persons;
  for (size_t i = 0; persons.size() < (10 << 20); ++i)
    persons += "p" + std::to_string(i) + " ; ";
  ExpectEachRunEnds({
      {"search page", kSearch,
       "<html>\n<a href=\"/tomefinder/details/" + tenMegabytes + "\n", 1},
      {"detail page, title of one word", kDetail, DetailPage(tenMegabytes), 1},
      {"detail page, title of tags", kDetail,
       DetailPage(Repeat("<b>x</b>", (10 << 20) / 8)), 1},
      {"detail page, title of groups", kDetail,
       DetailPage(Repeat("(1)", (10 << 20) / 3)), 1},
      {"detail page, statement of a million persons", kDetail,
       DetailPage("本", persons), 1},
      {"detail page, statement of two long names", kDetail,
       DetailPage("本", std::string(9 << 20, 'a') + " ; " +
                            std::string(1 << 19, 'a') + "b"),
       1},
      {"author page", kAuthor, "<th>人物名ヨミ</th>\n\n" + tenMegabytes + "\n",
       1},
  });
}

TEST_F(BadInput, PagesOfAMillionLines) {
  // Labels with value lines under them.
  const std::string rows[] = {
      "<th>書名</th>\n<td>本 (2)</td>\n",
      "<th>巻冊次</th>\n\n<td>第1巻</td>\n",
      "<th>シリーズ名</th>\n\n見本文庫\n",
      "<p class=\"p-C\">山田 太郎 著 ; 鈴木 花子 訳</p>\n",
      "<th>著作者名</th>\n\n<a href=\"/tomefinder/authors/1\">山田</a>,\n",
      "<th>刊行年月</th>\n<td>2006.10</td>\n",
      "<div id=\"jsid-detailMainText\">\n本文<br>続き\n"};
  std::string rowLines;
  for (size_t i = 0; i < 1000000 / 2; ++i)
    rowLines += rows[i % std::size(rows)];
  std::string statements;
  for (size_t i = 0; i < 1000000 / 2; ++i)
    statements += "<p class=\"p-C\">著者" + std::to_string(i) +
                  " 著 ; 訳者 訳</p>\n<th>書名</th>\n";
  ExpectEachRunEnds({
      {"detail page of rows", kDetail, rowLines, 1},
      {"detail page of statement rows", kDetail, statements, 1},
      {"author page", kAuthor, rowLines, 1},
  });
}

TEST_F(BadInput, PagesOfNoiseAndCutText) {
  static const char kTitleWithNul[] = "本\0の\0題";
  std::string withNul =
      DetailPage(std::string(kTitleWithNul, sizeof kTitleWithNul - 1));
  withNul.insert(withNul.find("<table>"), std::string("\0\0\0\n", 4));
  ExpectEachRunEnds({
      {"search page of binary noise", kSearch, Noise(1 << 20, 2), 1},
      {"detail page with NUL bytes", kDetail, withNul, 1},
      // Not UTF-8: the page has no lines and the code is dropped.
      {"detail page of binary noise", kDetail, Noise(1 << 20, 3), 0},
      {"detail page of truncated UTF-8", kDetail, DetailPage() + "\xE6\x9C", 0},
      {"author page of binary noise", kAuthor, Noise(1 << 20, 4), 1},
      {"author page of truncated UTF-8", kAuthor, AuthorPage() + "\xE3", 1},
  });
}

TEST_F(BadInput, Dictionaries) {
  const std::string megabyteLine(1 << 20, 'a');
  struct Content {
    const char* name;
    std::string bytes;
  } contents[] = {
      {"without line ends", Sjis("|00|見本出版|山田太郎著|ヤマダ|")},
      {"with a 1 MB line", "|00|" + megabyteLine + "\r\n|" + megabyteLine},
      {"of binary noise", Noise(1 << 20, 5)},
      {"of lead bytes", std::string(4096, '\x81')},
  };
  for (const char* name : {"AuthDB.dat", "PubDB.dat", "LabelsDB.dat"}) {
    for (const Content& content : contents) {
      SCOPED_TRACE(std::string(name) + " " + content.name);
      dir.Write(std::string("data/") + name, content.bytes);
      ExpectCompleteRun(Run(kCode), 1);
      fs::remove(data + name);
    }
  }
}

TEST_F(BadInput, ResultThatCannotBeWrittenIsReported) {
  dir.Write("file", "a regular file");
  fs::create_directories(dir.File("folder"));
  struct Case {
    const char* name;
    std::string outFile;
  } cases[] = {
      {"in a missing folder", dir.File("missing/result.txt")},
      {"under a regular file", dir.File("file/result.txt")},
      {"a folder itself", dir.File("folder")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Outcome run = Run(kCode, {}, "", c.outFile);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.messages.find(kCannotWrite), std::string::npos)
        << run.messages;
    EXPECT_FALSE(fs::is_regular_file(c.outFile));
  }
}

// A folder in which nobody may create a file: without write permission
// for other users; for root, whom permissions do not stop, immutable.
class ReadOnlyFolder {
public:
  explicit ReadOnlyFolder(const std::string& path) : path_(path) {
    fs::create_directories(path_);
    if (geteuid() != 0)
      made_ = chmod(path_.c_str(), 0555) == 0;
    else
      made_ = std::system(
                  ("chattr +i " + Quoted(path_) + " 2>/dev/null").c_str()) == 0;
  }
  ~ReadOnlyFolder() {
    if (geteuid() != 0)
      chmod(path_.c_str(), 0755);
    else if (made_)
      std::system(("chattr -i " + Quoted(path_)).c_str());
  }
  bool Made() const { return made_; }

private:
  std::string path_;
  bool made_ = false;
};

TEST_F(BadInput, ResultInAReadOnlyFolderIsReported) {
  ReadOnlyFolder folder(dir.File("read-only"));
  if (!folder.Made())
    GTEST_SKIP() << "running as root on a file system without chattr +i: "
                    "no folder here is read-only to this test";
  Outcome run = Run(kCode, {}, "", dir.File("read-only/result.txt"));
  EXPECT_NE(run.messages.find(kCannotWrite), std::string::npos) << run.messages;
  EXPECT_FALSE(fs::exists(dir.File("read-only/result.txt")));
}

TEST_F(BadInput, DataDirectoryWithoutItsSeparator) {
  // File names are appended to the data directory as it is passed: the
  // scratch file is its sibling "dataTemp.html", and nothing else is
  // written.
  const std::string bare = dir.Path() + "/data";
  ExpectCompleteRun(Run(kCode, {}, bare, "", {out, bare + "Temp.html"}), 1);
  EXPECT_TRUE(fs::exists(bare + "Temp.html"));
}

TEST_F(BadInput, MissingDataDirectory) {
  // No scratch file can be written: every download fails, every code is
  // skipped, and the result is written empty.
  Outcome run = Run(kCode, {}, dir.File("missing") + "/");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.result, "");
}

TEST_F(BadInput, InfoBufferSizes) {
  const std::string whole = "DownlaodFunc\n" + Sjis("ISBN検索 Tomefinder") +
                            "\n" + Sjis("Marlow(rivet改) based on ZEPHAL") +
                            "\n1.2.2\n3\n";
  struct Case {
    const char* size;
    std::string output;
  } cases[] = {
      {"0", "\n\n\n\n\n"},
      {"1", "\n\n\n\n\n"},
      {"65535", whole},
      // Only the low 16 bits count: 0x10006 is 6, 0x1FFFF is 65535.
      {"65542", "Downl\nISBN\x8C\nMarlo\n1.2.2\n3\n"},
      {"131071", whole},
      {"65536", "\n\n\n\n\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const std::string command = HostCommand() + " --info --buffer-size " +
                                c.size + " >" + Quoted(dir.File("stdout"));
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Hex(ReadBytes(dir.File("stdout"))), Hex(c.output));
  }
}
