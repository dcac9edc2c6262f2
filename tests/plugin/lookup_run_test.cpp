// Whole lookup runs: the stand-in host drives the built plug-in over small
// replay catalogues, and the result file and the messages are checked.
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>

namespace {

const std::string kBin = TF_BIN_DIR;
const std::string kCatalogue = std::string(TF_FIXTURES) + "/catalogue";
const std::string kBase = "http://catalogue.test";
const std::string kCommas(67, ',');

std::string Quoted(const std::string& arg) {
  std::string out = "'";
  for (char c : arg)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct Outcome {
  int status = -1;
  std::string messages; // what the plug-in reported, as UTF-8
  std::string output;   // the host's standard output
  std::string result;   // the result file, or "<missing>"
};

class LookupRun : public ::testing::Test {
protected:
  TempDir dir;
  std::string host = kBin + "/shelfix.exe";

  std::string DataDir() const { return dir.Path() + "/data/"; }
  std::string OutFile() const { return dir.File("result.txt"); }

  void SetUp() override { std::filesystem::create_directories(DataDir()); }

  // Runs the host with the common options, then these.
  Outcome Lookup(const std::vector<std::string>& args,
                 const std::string& environment = "") {
    std::vector<std::string> all = {"--data-dir", DataDir(),     "--out",
                                    OutFile(),    "--catalogue", kCatalogue};
    all.insert(all.end(), args.begin(), args.end());
    return Host(all, environment);
  }

  Outcome Host(const std::vector<std::string>& args,
               const std::string& environment = "") {
    std::string command = "TOMEFINDER_BASE_URL=" + Quoted(kBase) + " " +
                          environment + " " + Quoted(host);
    for (const std::string& arg : args)
      command += " " + Quoted(arg);
    command += " >" + Quoted(dir.File("stdout")) + " 2>" +
               Quoted(dir.File("stderr")) + " </dev/null";
    Outcome run;
    int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.messages = ReadBytes(dir.File("stderr"));
    run.output = ReadBytes(dir.File("stdout"));
    run.result = ReadBytes(OutFile());
    return run;
  }

  std::string CodesFile(const std::string& bytes) {
    return dir.Write("codes.txt", bytes);
  }
};

std::string Line(const std::string& isbn, const std::string& detailUrl = "") {
  std::string line = isbn + std::string(16, ',') + detailUrl;
  return line + std::string(67 - 16, ',') + "\r\n";
}

} // namespace

TEST_F(LookupRun, EveryBranchOfACode) {
  struct Case {
    const char* name;
    std::vector<std::string> codes;
    std::string result;
  } cases[] = {
      {"no detail link: the record so far",
       {"9784000000024"},
       Line("9784000000024")},
      {"detail link on the first line is none",
       {"9784000000031"},
       Line("9784000000031")},
      {"detail page not downloaded",
       {"9784000000048"},
       Line("9784000000048", kBase + "/tomefinder/details/0404")},
      {"detail page not read: code dropped", {"9784000000017"}, ""},
      {"search page not downloaded: code skipped", {"9784000000055"}, ""},
      {"invalid code: search code empty, skipped", {"9784000000025"}, ""},
      {"upper-case B searches by ASIN", {"B000000001"}, Line("B000000001")},
      {"codes in order",
       {"9784000000048", "9784000000017", "123", "9784000000024"},
       Line("9784000000048", kBase + "/tomefinder/details/0404") +
           Line("9784000000024")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Outcome run = Lookup(c.codes);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.messages, "");
    EXPECT_EQ(run.result, c.result);
  }
}

TEST_F(LookupRun, PublisherDictionaryFillsALineWithoutDetailLink) {
  // The shortest prefix wins, and the file's LF line ends are read.
  dir.Write("data/PubDB.dat",
            Sjis("|0000|長い出版\n|00|見本出版\n|9|違う出版\n"));
  Outcome run = Lookup({"9784000000024"});
  EXPECT_EQ(run.messages, "");
  // Position 13: after the ISBN and eleven empty positions.
  EXPECT_EQ(SjisToUtf8(run.result), "9784000000024" + std::string(12, ',') +
                                        "見本出版" + std::string(55, ',') +
                                        "\r\n");
}

TEST_F(LookupRun, DictionaryThatCannotBeReadEndsTheRun) {
  dir.Write("result.txt", "from an earlier run");
  std::filesystem::create_directories(DataDir() + "AuthDB.dat");
  Outcome run = Lookup({"9784000000024", "9784000000031"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.messages, "辞書ファイルを読み込めませんでした。" + DataDir() +
                              "AuthDB.dat 検索を中止しました。\n");
  EXPECT_EQ(run.result, "<missing>");
}

TEST_F(LookupRun, EmptyCodeListIsReportedAndLeavesNoResult) {
  dir.Write("result.txt", "from an earlier run");
  Outcome run = Lookup({"--codes-file", CodesFile("")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.messages, "検索するISBNを取得できませんでした\n");
  EXPECT_EQ(run.result, "<missing>");
}

TEST_F(LookupRun, OneEmptyLineGivesAnEmptyResultFile) {
  Outcome run =
      Lookup({"--check", "identity", "--codes-file", CodesFile("\r\n")});
  EXPECT_EQ(run.messages, "");
  EXPECT_EQ(run.result, "");
}

TEST_F(LookupRun, CombinedLinesAreSplitAtEveryLineEnd) {
  Outcome run =
      Lookup({"--codes-file",
              CodesFile("9784000000024\r9784000000031\n9784000000024")});
  EXPECT_EQ(run.result, Line("9784000000024") + Line("9784000000031") +
                            Line("9784000000024"));
}

TEST_F(LookupRun, ConnectionLostOnTheThirdCodeLosesTheRun) {
  dir.Write("result.txt", "from an earlier run");
  Outcome run = Lookup({"--offline-from", "3", "9784000000024", "9784000000031",
                        "9784000000048"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.messages, "インターネットに接続されていません\n");
  EXPECT_EQ(run.result, "<missing>");
}

TEST_F(LookupRun, HostExecutableMissingBesideTheRunningOne) {
  // A copy of the host under another name: no "shelfix.exe" beside it.
  const std::string copy = dir.File("bin/host.exe");
  std::filesystem::create_directories(dir.File("bin"));
  std::filesystem::copy_file(host, copy);
  host = copy;
  Outcome run = Lookup({"--plugin", kBin + "/tomefinder.so", "9784000000024"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.messages,
            dir.File("bin/shelfix.exe") +
                "がありません。\n"
                "関数がありません。Shelfix、または、プラグインのバージョンが"
                "古い可能性があります。\n");
  EXPECT_EQ(run.result, "<missing>");
}

TEST_F(LookupRun, HostWithoutItsServices) {
  // "shelfix.exe" beside the running host is a library without the names.
  std::filesystem::create_directories(dir.File("bin"));
  std::filesystem::copy_file(host, dir.File("bin/host.exe"));
  std::filesystem::copy_file(kBin + "/tomefinder.so",
                             dir.File("bin/shelfix.exe"));
  host = dir.File("bin/host.exe");
  Outcome run = Lookup({"--plugin", kBin + "/tomefinder.so", "9784000000024"});
  EXPECT_EQ(run.messages,
            "関数がありません。Shelfix、または、プラグインのバージョンが"
            "古い可能性があります。\n");
  EXPECT_EQ(run.result, "<missing>");
}

TEST_F(LookupRun, ResultThatCannotBeWrittenIsReported) {
  Outcome run = Host({"--data-dir", DataDir(), "--out",
                      dir.File("no/such/folder/result.txt"), "--catalogue",
                      kCatalogue, "9784000000024"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.messages.find("結果ファイルを書き込めませんでした。"),
            std::string::npos)
      << run.messages;
  EXPECT_FALSE(std::filesystem::exists(dir.File("no/such/folder")));
}

TEST_F(LookupRun, ScratchFileIsInTheDataDirectory) {
  Lookup({"9784000000024"});
  EXPECT_EQ(ReadBytes(DataDir() + "Temp.html"),
            ReadBytes(kCatalogue + "/search-unlinked.html"));
  // The data directory is used exactly as passed: without its separator
  // the scratch file is a sibling named "dataTemp.html".
  Host({"--data-dir", dir.File("data"), "--out", OutFile(), "--catalogue",
        kCatalogue, "9784000000024"});
  EXPECT_TRUE(std::filesystem::exists(dir.File("dataTemp.html")));
}

TEST_F(LookupRun, InfoCutsAtTheBufferSize) {
  Outcome run = Host({"--info", "--buffer-size", "6"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Hex(run.output), Hex("Downl\nISBN\x8C\nMarlo\n1.2.2\n3\n"));
  run = Host({"--info"});
  EXPECT_EQ(run.output, "DownlaodFunc\n" + Sjis("ISBN検索 Tomefinder") + "\n" +
                            Sjis("Marlow(rivet改) based on ZEPHAL") +
                            "\n1.2.2\n3\n");
}

TEST_F(LookupRun, SettingsBesideACopyOfTheHost) {
  // "Setting.ini" is read from the running host's folder: a copy of the host
  // and the plug-in in a folder of their own.
  const std::string bin = dir.File("bin");
  std::filesystem::create_directories(bin);
  std::filesystem::copy_file(host, bin + "/shelfix.exe");
  std::filesystem::copy_file(kBin + "/tomefinder.so", bin + "/tomefinder.so");
  host = bin + "/shelfix.exe";
  struct Case {
    const char* name;
    const char* ini; // UTF-8; null for no file
    std::string purchase, tax, read;
  } cases[] = {
      {"no settings file: the defaults", nullptr, "購入", "0", "既読"},
      {"TaxSet fills both tax positions", "[Entry]\r\nTaxSet=1\r\n", "購入",
       "1", "既読"},
      {"a key present but empty leaves its field empty",
       "[Entry]\r\nReadSet=\r\n", "購入", "0", ""},
      {"every key",
       "[Entry]\r\nPurachaseSet=予約\r\nTaxSet=2\r\nReadSet=未読\r\n", "予約",
       "2", "未読"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(bin + "/Setting.ini");
    if (c.ini)
      dir.Write("bin/Setting.ini", Sjis(c.ini));
    // A record read from a detail page, then one without a detail link.
    Outcome run = Lookup({"9784000000062", "9784000000024"});
    EXPECT_EQ(run.messages, "");
    const size_t end = run.result.find("\r\n");
    ASSERT_NE(end, std::string::npos) << run.result;
    // No item of this line is quoted, so it splits at every comma.
    std::vector<std::string> fields;
    std::string rest = SjisToUtf8(run.result.substr(0, end)) + ",";
    for (size_t comma; (comma = rest.find(',')) != std::string::npos;
         rest.erase(0, comma + 1))
      fields.push_back(rest.substr(0, comma));
    ASSERT_EQ(fields.size(), 68u) << run.result;
    EXPECT_EQ(fields[1], "本の見本");
    EXPECT_EQ(fields[20], c.purchase) << "position 21";
    EXPECT_EQ(fields[22], c.tax) << "position 23";
    EXPECT_EQ(fields[24], c.tax) << "position 25";
    EXPECT_EQ(fields[46], c.read) << "position 47";
    // The line without a detail page takes no settings.
    EXPECT_EQ(run.result.substr(end + 2), Line("9784000000024"));
  }
}
