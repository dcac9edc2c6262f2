// The dictionary helpers of the built shelfix.exe: "key" and
// "check-dictionaries", as a user runs them in a UTF-8 terminal.
#include "support/command.h"
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

Outcome RunShelfix(const std::vector<std::string>& args) {
  TempDir scratch;
  const std::string errFile = scratch.File("stderr");
  std::string command = ShellQuote(SHELFIX_EXE);
  for (const std::string& arg : args)
    command += " " + ShellQuote(arg);
  const CommandResult run = RunCommand(command + " 2>" + ShellQuote(errFile));
  Outcome outcome;
  outcome.status = run.status;
  outcome.out = run.out;
  outcome.err = ReadBytes(errFile);
  return outcome;
}

// The key form's examples: a name or series as the catalogue gives it, and
// the key a dictionary line must carry for it.
const struct {
  const char* text;
  const char* key;
} kKeyExamples[] = {
    {"ジョン・スミス", "ｼﾞｮﾝｽﾐｽ"},
    {"ニコラス", "二ｺﾗｽ"},
    {"スーパー☆文庫", "ｽ-ﾊﾟ-文庫"},
    {"ＡＢＣ文庫", "ABC文庫"},
    {"山田　太郎", "山田太郎"},
    {"ジョン・スミス [訳]", "ｼﾞｮﾝｽﾐｽ[訳]"},
    {"ＡＢＣ ＢＵＮＫＯ", "ABCBUNKO"},
    {"山田太郎", "山田太郎"},
    {"abc", "abc"}, // case is not folded
    {"-x", "-x"},   // after "--"
};

TEST(KeyCommand, KeyFormExamples) {
  std::vector<std::string> args = {"key", "--"};
  std::string keys, raw;
  for (const auto& example : kKeyExamples) {
    args.push_back(example.text);
    keys += std::string(example.key) + "\n";
    raw += Sjis(example.key) + "\n";
  }
  const Outcome printed = RunShelfix(args);
  EXPECT_EQ(printed.status, 0) << printed.err;
  EXPECT_EQ(printed.out, keys);

  args.insert(args.begin() + 1, "--raw");
  const Outcome rawPrinted = RunShelfix(args);
  EXPECT_EQ(rawPrinted.status, 0) << rawPrinted.err;
  EXPECT_EQ(Hex(rawPrinted.out), Hex(raw));
}

TEST(KeyCommand, TextThatCodePage932CannotWrite) {
  for (const char* text : {"😀", "caf\xC3\xA9", "\xFF"}) {
    SCOPED_TRACE(text);
    const Outcome outcome = RunShelfix({"key", "山田", text});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("TEXT 2, "), std::string::npos) << outcome.err;
  }
}

TEST(DictionaryCommands, Mistakes) {
  const std::vector<std::vector<std::string>> mistakes = {
      {"key"},
      {"key", "--raw"},
      {"key", "--bogus", "x"},
      {"check-dictionaries"},
      {"check-dictionaries", "a", "b"},
      {"check-dictionaries", "--bogus"},
  };
  for (const auto& args : mistakes) {
    const Outcome outcome = RunShelfix(args);
    EXPECT_EQ(outcome.status, 2) << args.back();
    EXPECT_EQ(outcome.out, "") << args.back();
  }
  const Outcome help = RunShelfix({"--help"});
  EXPECT_NE(help.out.find("shelfix.exe key [--raw] TEXT..."),
            std::string::npos);
  EXPECT_NE(help.out.find("shelfix.exe check-dictionaries DIR"),
            std::string::npos);
}

const char* const kDictionaryFiles[] = {"AuthDB.dat", "PubDB.dat",
                                        "LabelsDB.dat"};

// One line of each fault, and good lines among them
// (tools/gen_dictionary_fixtures.py writes the files).
TEST(CheckDictionariesCommand, FaultyFixture) {
  const std::string dir = DICTIONARY_FIXTURES "/dictionaries-faulty";
  std::vector<std::string> before;
  for (const char* name : kDictionaryFiles)
    before.push_back(ReadBytes(dir + "/" + name));

  const Outcome outcome = RunShelfix({"check-dictionaries", dir});
  EXPECT_EQ(outcome.status, 1) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(
      outcome.out,
      R"(AuthDB.dat:4: key "ジョン・スミス" is not in key form (full-width katakana, "・"); write "ｼﾞｮﾝｽﾐｽ"
AuthDB.dat:5: key "ｼﾞｮﾝ ｽﾐｽ" is not in key form (a space); write "ｼﾞｮﾝｽﾐｽ"
AuthDB.dat:6: key "ニｼﾀﾞ" is not in key form ("ニ"); write "二ｼﾀﾞ"
AuthDB.dat:7: key "ﾆｺﾗｽ" is not in key form ("ﾆ"); write "二ｺﾗｽ"
AuthDB.dat:8: key "ｽｰﾊﾟｰ" is not in key form ("ｰ"); write "ｽ-ﾊﾟ-"
AuthDB.dat:9: "|山田太郎|" is found first in line 1, where the lookup stops: |山田太郎|山田 太郎|ヤマダ タロウ|漫画家|
AuthDB.dat:10: "|佐藤|" is found first in line 3, where the lookup stops: |鈴木|鈴木花子|佐藤|注|
AuthDB.dat:11: no closing "|": the entry runs on to line 12
AuthDB.dat:13: not valid code page 932 text: byte 26 (0x83 0x99) is no character; the line is not checked further
AuthDB.dat:14: not an entry of the form |key|name|reading|note|
PubDB.dat:3: prefix "8190" is never reached: the shorter "|81|" is tried first and found in line 2: |81|見本書房
PubDB.dat:4: "|4000|" is found first in line 1, where the lookup stops: |4000|見本出版
PubDB.dat:5: prefix "1234567" is never looked up: the lookup tries prefixes of 2 to 6 digits
PubDB.dat:6: not an entry of the form |prefix|publisher
LabelsDB.dat:3: series key "ＡＢＣ文庫" is not in key form (full-width letters, digits or signs); write "ABC文庫"
LabelsDB.dat:4: "|見本出版|ABCBUNKO|" is found first in line 1, where the lookup stops: |見本出版|ABCBUNKO|ABC文庫
LabelsDB.dat:5: mixed line ends: this line ends with LF, line 1 with CR LF
LabelsDB.dat:6: not an entry of the form |publisher|series key|replacement
18 problems found
)");

  for (std::size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(ReadBytes(dir + "/" + kDictionaryFiles[i]), before[i])
        << kDictionaryFiles[i] << " changed";
}

TEST(CheckDictionariesCommand, CleanDirectories) {
  // The sample catalogue's data directory and the dictionaries of the
  // release package, written as a user should write them; with and
  // without the separator at the end.
  for (const char* dir :
       {SAMPLES_DATA_DIR, SAMPLES_DATA_DIR "/", PACKAGE_DICTIONARIES_DIR}) {
    const Outcome outcome = RunShelfix({"check-dictionaries", dir});
    EXPECT_EQ(outcome.status, 0) << dir << outcome.err;
    EXPECT_EQ(outcome.out, "no problems found\n") << dir;
  }

  // No dictionary at all: empty dictionaries, no fault.
  TempDir empty;
  const Outcome outcome = RunShelfix({"check-dictionaries", empty.Path()});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "AuthDB.dat: missing, so the dictionary is empty\n"
                         "PubDB.dat: missing, so the dictionary is empty\n"
                         "LabelsDB.dat: missing, so the dictionary is empty\n"
                         "no problems found\n");
}

TEST(CheckDictionariesCommand, WhatCannotBeRead) {
  // A dictionary that is a directory cannot be read, as the plug-in finds;
  // the other files are still checked.
  TempDir data;
  std::filesystem::create_directory(data.File("AuthDB.dat"));
  data.Write("PubDB.dat", Sjis("|81|見本書房\r\n|8190|見本社\r\n"));
  const Outcome outcome = RunShelfix({"check-dictionaries", data.Path()});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("cannot read " + data.File("AuthDB.dat")),
            std::string::npos)
      << outcome.err;
  EXPECT_EQ(outcome.out, "PubDB.dat:2: prefix \"8190\" is never reached: the "
                         "shorter \"|81|\" is tried first and found in line "
                         "1: |81|見本書房\n"
                         "LabelsDB.dat: missing, so the dictionary is empty\n"
                         "1 problem found; not read: AuthDB.dat\n");

  for (const std::string& dir :
       {data.File("nothing-here"), data.File("PubDB.dat")}) {
    const Outcome notADirectory = RunShelfix({"check-dictionaries", dir});
    EXPECT_EQ(notADirectory.status, 2) << dir;
    EXPECT_EQ(notADirectory.out, "") << dir;
    EXPECT_NE(notADirectory.err.find("is no directory"), std::string::npos)
        << notADirectory.err;
  }
}

} // namespace
