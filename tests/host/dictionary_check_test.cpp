// The dictionary check on file bytes: the form of each file's lines, the
// key form, the searches as the lookup runs them, the code page and the
// line ends.
#include "dictionary_check.h"

#include "support/sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Expected {
  std::size_t line;
  std::string text; // UTF-8
};

struct Case {
  const char* what;
  std::string bytes;
  std::vector<Expected> findings;
};

// The lines (UTF-8) in code page 932, each followed by CR LF.
std::string Lines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines)
    bytes += Sjis(line) + "\r\n";
  return bytes;
}

// Findings as "line: text" lines, for a comparison that shows them all.
std::string Listed(const std::vector<Expected>& findings) {
  std::string text;
  for (const Expected& finding : findings)
    text += std::to_string(finding.line) + ": " + finding.text + "\n";
  return text;
}

void ExpectFindings(DictionaryKind kind, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::vector<Expected> found;
    for (const DictionaryFinding& finding : CheckDictionary(kind, c.bytes))
      found.push_back({finding.line, SjisToUtf8(finding.text)});
    EXPECT_EQ(Listed(found), Listed(c.findings)) << c.what;
  }
}

} // namespace

TEST(CheckDictionary, AuthorLines) {
  ExpectFindings(
      DictionaryKind::Author,
      {
          {"good lines: empty fields, more fields, a role tag, case kept",
           Lines({"|山田|山田太郎||", "|鈴木|a|b|c|d|e|",
                  "|ｼﾞｮﾝｽﾐｽ[訳]|ジョン・スミス [訳]|||", "|abc|abc|||",
                  "|ABC|ABC|||", "|やまだ|山田|||", "|二ｺﾗｽ|ニコラス|||",
                  "|ｽ-ﾊﾟ-|スーパー|||"}),
           {}},
          // Katakana without a half-width form stays full width in a key.
          {"full-width katakana that the key form keeps",
           Lines({"|一ヶ谷悠|一ヶ谷 悠|||", "|ヵﾞ|ヵﾞ|||", "|ヰﾄﾞ|ヰド|||",
                  "|ヱﾋﾞｽ|ヱビス|||", "|ヮ|ヮ|||"}),
           {}},
          {"blank lines are passed over", Lines({"", "   ", "\x1a"}), {}},
          {"not of the form",
           Lines({"山田|山田太郎|||", "|鈴木"}),
           {{1, "not an entry of the form |key|name|reading|note|"},
            {2, "not an entry of the form |key|name|reading|note|"}}},
          {"every reason the key form names",
           Lines({"|☆山田|a|||", "|山田♪★|a|||", "|ｽーﾊﾟ|a|||", "|\t山田|a|||",
                  "|山田　太郎|a|||", "|ＡＢＣ|a|||"}),
           {{1, "key \"☆山田\" is not in key form (\"☆\"); write \"山田\""},
            {2, "key \"山田♪★\" is not in key form (\"♪\", \"★\"); write "
                "\"山田\""},
            {3, "key \"ｽーﾊﾟ\" is not in key form (full-width katakana); "
                "write \"ｽ-ﾊﾟ\""},
            {4, "key \"\t山田\" is not in key form (a control character at "
                "an end); write \"山田\""},
            {5, "key \"山田　太郎\" is not in key form (a space); write "
                "\"山田太郎\""},
            {6, "key \"ＡＢＣ\" is not in key form (full-width letters, "
                "digits or signs); write \"ABC\""}}},
          {"a key alone runs on into the next line",
           Lines({"|山田|", "|鈴木|a|b|c|"}),
           {{1, "no closing \"|\": the entry runs on to line 2"}}},
          {"no closing bar anywhere after",
           Lines({"|山田|山田太郎|ヤマダ"}),
           {{1, "no closing \"|\": the entry runs on to the end of the file"}}},
          // ポ's second byte is the byte of "|": the end marker lands there.
          {"a line that ends in ポ",
           Lines({"|ﾎﾟｽﾄ|ポスト|ﾎﾟｽﾄ|ポ", "|x|y||"}),
           {{1, "no closing \"|\": the last character ends in the byte of "
                "\"|\", and the entry ends inside it"}}},
          {"a key found inside a double-byte character of an earlier line",
           Lines({"|x|ポA|y|", "|A|a|b||"}),
           {{2, "\"|A|\" is found first in line 1, where the lookup stops: "
                "|x|ポA|y|"}}},
          {"a key not in key form is never searched, so never answered",
           Lines({"|ジョン|a|||", "|ジョン|b|||"}),
           {{1, "key \"ジョン\" is not in key form (full-width katakana); "
                "write \"ｼﾞｮﾝ\""},
            {2, "key \"ジョン\" is not in key form (full-width katakana); "
                "write \"ｼﾞｮﾝ\""}}},
      });
}

TEST(CheckDictionary, PublisherPrefixes) {
  ExpectFindings(
      DictionaryKind::Publisher,
      {
          {"good lines, a trailing bar kept in the name",
           Lines({"|4000|見本出版|", "|81|見本書房", "|123456|六桁社"}),
           {}},
          {"every longer prefix is shadowed by the shortest",
           Lines({"|40|a", "|400|b", "|4000|c"}),
           {{2, "prefix \"400\" is never reached: the shorter \"|40|\" is "
                "tried first and found in line 1: |40|a"},
            {3, "prefix \"4000\" is never reached: the shorter \"|40|\" is "
                "tried first and found in line 1: |40|a"}}},
          {"a shorter prefix found inside another line",
           Lines({"|12|見本|34|", "|3456|社"}),
           {{2, "prefix \"3456\" is never reached: the shorter \"|34|\" is "
                "tried first and found in line 1: |12|見本|34|"}}},
          {"the same prefix twice",
           Lines({"|8190|青嵐社", "|8190|別の社"}),
           {{2, "\"|8190|\" is found first in line 1, where the lookup "
                "stops: |8190|青嵐社"}}},
          {"prefixes the lookup never tries",
           Lines({"|1|a", "||b", "|1234567|c"}),
           {{1, "prefix \"1\" is never looked up: the lookup tries prefixes "
                "of 2 to 6 digits"},
            {2, "prefix \"\" is never looked up: the lookup tries prefixes "
                "of 2 to 6 digits"},
            {3, "prefix \"1234567\" is never looked up: the lookup tries "
                "prefixes of 2 to 6 digits"}}},
          {"not of the form",
           Lines({"4000|a", "|4000 a"}),
           {{1, "not an entry of the form |prefix|publisher"},
            {2, "not an entry of the form |prefix|publisher"}}},
      });
}

TEST(CheckDictionary, LabelLines) {
  ExpectFindings(
      DictionaryKind::Label,
      {
          {"good lines: empty series key, other publisher, publisher as is",
           Lines({"|見本出版||見本文庫", "|見本出版|ABC|x", "|別社|ABC|y",
                  "|ＡＢＣ出版|ABC|z"}),
           {}},
          {"not of the form",
           Lines({"|見本出版|", "|見本出版|ABC", "見本出版|ABC|x"}),
           {{1, "not an entry of the form |publisher|series key|replacement"},
            {2, "not an entry of the form |publisher|series key|replacement"},
            {3, "not an entry of the form |publisher|series key|replacement"}}},
          {"a series key not in key form",
           Lines({"|見本出版|ｺﾐｯｸ ｽ|x"}),
           {{1, "series key \"ｺﾐｯｸ ｽ\" is not in key form (a space); write "
                "\"ｺﾐｯｸｽ\""}}},
          {"the same key twice",
           Lines({"|見本出版||a", "|見本出版||b"}),
           {{2, "\"|見本出版||\" is found first in line 1, where the lookup "
                "stops: |見本出版||a"}}},
      });
}

TEST(CheckDictionary, CodePage) {
  ExpectFindings(
      DictionaryKind::Label,
      {
          // ・ decodes as the code page's default character, and is one.
          {"・, the user-defined area and half-width katakana are text",
           Lines({"|見本|ｺﾐｯｸ|ジョン・スミス"}) + "|x|\xF0\x40|y\r\n",
           {}},
          {"bytes that are no character",
           "|a|b|\x82\r\n|a|c|\xA0\r\n|a|d|\x80\r\n|a|e|\xFF\r\n|a|f|"
           "\x82\x20\r\n",
           {{1, "not valid code page 932 text: byte 6 (0x82 at the end of "
                "the line) is no character; the line is not checked further"},
            {2, "not valid code page 932 text: byte 6 (0xA0) is no "
                "character; the line is not checked further"},
            {3, "not valid code page 932 text: byte 6 (0x80) is no "
                "character; the line is not checked further"},
            {4, "not valid code page 932 text: byte 6 (0xFF) is no "
                "character; the line is not checked further"},
            {5, "not valid code page 932 text: byte 6 (0x82 0x20) is no "
                "character; the line is not checked further"}}},
      });
}

TEST(CheckDictionary, LineEnds) {
  ExpectFindings(
      DictionaryKind::Publisher,
      {
          {"CR only", "|40|a\r|50|b\r|60|c\r", {}},
          {"LF only, the last line without an end", "|40|a\n|50|b\n|60|c", {}},
          {"reported once, at the first line that differs",
           "|40|a\r\n|50|b\r|60|c\n|70|d\r\n",
           {{2, "mixed line ends: this line ends with CR, line 1 with CR LF"}}},
          {"a blank line's end counts",
           "|40|a\n\r\n|60|c\n",
           {{2, "mixed line ends: this line ends with CR LF, line 1 with LF"}}},
      });
}
