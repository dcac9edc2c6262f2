#include "platform/platform.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace {

struct IniCase {
  const char* name;
  std::string file;
  const char* section;
  const char* key;
  std::string expected;
};

} // namespace

TEST(Ini, ReadsAsGetPrivateProfileString) {
  const IniCase cases[] = {
      {"plain", "[Entry]\r\nTaxSet=1\r\n", "Entry", "TaxSet", "1"},
      {"section and key without case", "[entry]\nTAXSET=1\n", "Entry", "TaxSet",
       "1"},
      {"value and key trimmed", "[Entry]\n  TaxSet \t=  a b  \n", "Entry",
       "TaxSet", "a b"},
      {"present but empty", "[Entry]\nTaxSet=\n", "Entry", "TaxSet", ""},
      {"missing key", "[Entry]\nReadSet=x\n", "Entry", "TaxSet", "<default>"},
      {"missing section", "[Other]\nTaxSet=1\n", "Entry", "TaxSet",
       "<default>"},
      {"key of another section", "[Entry]\nA=1\n[Other]\nTaxSet=1\n", "Entry",
       "TaxSet", "<default>"},
      {"key before any section", "TaxSet=1\n[Entry]\n", "Entry", "TaxSet",
       "<default>"},
      {"first key wins", "[Entry]\nTaxSet=1\nTaxSet=2\n", "Entry", "TaxSet",
       "1"},
      {"enclosing quotes removed", "[Entry]\nA=\"x y\"\nB='z'\n", "Entry", "A",
       "x y"},
      {"single quotes removed", "[Entry]\nB='z'\n", "Entry", "B", "z"},
      {"unmatched quote kept", "[Entry]\nA=\"x\n", "Entry", "A", "\"x"},
      {"comment line", "[Entry]\n;TaxSet=1\n", "Entry", "TaxSet", "<default>"},
      {"value keeps its equals signs", "[Entry]\nA=b=c\n", "Entry", "A", "b=c"},
      {"CR line ends", "[Entry]\rTaxSet=1\r", "Entry", "TaxSet", "1"},
      {"no line end at all", "[Entry]\nTaxSet=1", "Entry", "TaxSet", "1"},
      {"code page 932 value", "[Entry]\nReadSet=\x96\xa2\x93\xc7\n", "Entry",
       "ReadSet", "\x96\xa2\x93\xc7"},
      {"UTF-8 with byte-order mark",
       "\xEF\xBB\xBF[Entry]\nReadSet=\xE6\x9C\xAA\xE8\xAA\xAD\n", "Entry",
       "ReadSet", "\x96\xa2\x93\xc7"},
      {"UTF-16LE with byte-order mark",
       std::string("\xFF\xFE[\0E\0n\0t\0r\0y\0]\0\n\0A\0=\0\x2a\x67\0\0", 26),
       "Entry", "A", "\x96\xa2"},
  };
  TempDir dir;
  for (const IniCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.Write("Setting.ini", c.file);
    EXPECT_EQ(ReadIniString(path, c.section, c.key, "<default>"), c.expected);
  }
}

TEST(Ini, MissingFileGivesTheDefault) {
  TempDir dir;
  EXPECT_EQ(ReadIniString(dir.File("none.ini"), "Entry", "TaxSet", "0"), "0");
  EXPECT_EQ(ReadIniString(dir.Path(), "Entry", "TaxSet", "0"), "0");
}
