#include "catalogue/detail_page.h"
#include "plugin/driver.h"
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

TEST(PreparePageText, DecodesRepairsAndReplaces) {
  struct Case {
    const char* name;
    std::string page; // raw bytes of the file
    StringList lines; // expected, written as UTF-8
  } cases[] = {
      {"line ends of every kind", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"two- and three-byte forms", "\xC2\xA7 \xE6\xA4\x9C", {"§ 検"}},
      {"em dash repaired to the horizontal bar",
       "A\xE2\x80\x94"
       "B",
       {"A―B"}},
      {"wave dash becomes a full-width tilde",
       "1\xE3\x80\x9C"
       "2",
       {"1～2"}},
      {"every tilde is full-width", "~a~", {"～a～"}},
      {"entities in order",
       "&amp;quot; &amp;lt;b&amp;gt; &quot;x&quot;",
       {"” <b> ”x”"}},
      {"a four-byte form is one ?",
       "A\xF0\xA0\xAE\xB7"
       "B",
       {"A?B"}},
      {"an emoji in a description", "x\xF0\x9F\x98\x80", {"x?"}},
      {"a character code page 932 lacks", "caf\xC3\xA9", {"caf?"}},
      {"bad continuation byte: no lines", "ok\n\xE6\x41\x42\n", {}},
      {"cut sequence at the end: no lines", "ok\n\xE6\xA4", {}},
      {"cut four-byte form: no lines", "ok\xF0\xA0\xAE", {}},
      {"empty file", "", {}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StringList expected;
    for (const std::string& line : c.lines)
      expected.push_back(Sjis(line));
    EXPECT_EQ(PreparePageText(dir.Write("page.html", c.page)), expected);
  }
}

TEST(PreparePageText, AFileThatCannotBeReadEndsTheRun) {
  TempDir dir;
  EXPECT_THROW(PreparePageText(dir.Path()), RunError);
}

TEST(CleanCell, BracketsAndMarkup) {
  EXPECT_EQ(CleanCell(Sjis("<td>入門〈2〉</td>")), Sjis("入門 (2) "));
  EXPECT_EQ(CleanCell(Sjis("〈上〉〈下〉")), Sjis(" (上)  (下) "));
  EXPECT_EQ(CleanCell(""), "");
}

TEST(AuthorNotesMode, OnlyAnExactSwitchLine) {
  struct Case {
    const char* name;
    std::string file;
    bool on;
  } cases[] = {
      {"switch on", "TOMEFINDER1=1\r\n", true},
      {"among other lines", "OTHER=1\nTOMEFINDER1=1\n", true},
      {"no line end", "TOMEFINDER1=1", true},
      {"the first switch line decides only when on",
       "TOMEFINDER1=0\nTOMEFINDER1=1\n", true},
      {"off", "TOMEFINDER1=0\n", false},
      {"a space after the value", "TOMEFINDER1=1 \n", false},
      {"a space after the equals sign", "TOMEFINDER1= 1\n", false},
      {"lower case", "tomefinder1=1\n", false},
      {"every key removed", "TOMEFINDER1=TOMEFINDER1=1\n", true},
      {"empty file", "", false},
  };
  TempDir dir;
  const std::string dataDir = dir.Path() + "/";
  EXPECT_FALSE(AuthorNotesMode(dataDir)); // no file
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("rivet.dat", c.file);
    EXPECT_EQ(AuthorNotesMode(dataDir), c.on);
  }
}
