#include "catalogue/markup.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

TEST(TextBetween, FirstStartThenNextEnd) {
  struct Case {
    const char* name;
    std::string text, start, end, expected;
  } cases[] = {
      {"quoted value", "<img src=\"x.jpg\">", "src=\"", "\"", "x.jpg"},
      {"no closing marker takes the rest", "<img src=\"x.jpg", "src=\"", "\"",
       "x.jpg"},
      {"first start marker", "a=1 a=2;", "a=", ";", "1 a=2"},
      {"end before the start is ignored", "\"x\" src=\"y\"", "src=\"", "\"",
       "y"},
      {"missing start", "abc", "x", "c", ""},
      {"empty start is never found", "abc", "", "c", ""},
      {"empty end takes the rest", "a=1;2", "a=", "", "1;2"},
      {"empty text", "", "a", "b", ""},
      // A byte search: the end marker may match a trail byte.
      {"end marker inside a character", "[" + Sjis("表") + "]", "[", "\\",
       "\x95"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(TextBetween(c.text, c.start, c.end)), Hex(c.expected));
  }
}

TEST(StripMarkup, TagsCommentsAndEntities) {
  struct Case {
    std::string input, expected;
  } cases[] = {
      {"<td class=\"x\">山田 太郎</td>", "山田 太郎"},
      {"class=\"x\">本文", "本文"},
      {"本文<a href=\"/p", "本文"},
      {"<!-- 注 -->", "<!-- 注 -->"},
      {"<!--<b>注</b>-->", "<!--注-->"},
      {"A&lt;B&gt;C", "A<B>C"},
      {"A&nbsp;B", "A B"},
      {"＜!--x--＞", "<!--x-->"},
      {"a>b<c>d<e", "bd"},
      {"<a><b>", ""},
      {"x > y", " y"},
      {"&lt;b&gt;", "<b>"}, // entities are replaced after the tags went
      {"&amp;lt;", "&amp;lt;"},
      {"ソ<b>ポ</b>表", "ソポ表"},
      {"", ""},
      {" a ", " a "}, // not trimmed
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(SjisToUtf8(StripMarkup(Sjis(c.input))), c.expected);
  }
}

TEST(KeepDigits, AsciiDigitsOrTheText) {
  struct Case {
    std::string input, expected;
  } cases[] = {
      {"第12巻", "12"}, {"上", "上"},     {"１２", "１２"},
      {"", ""},         {"1a2b3", "123"}, {"ソ1", "1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SjisToUtf8(KeepDigits(Sjis(c.input))), c.expected) << c.input;
}

TEST(WidthMaps, WrapTheLocaleMapping) {
  EXPECT_EQ(ToFullWidth(u"Smith"), u"Ｓｍｉｔｈ");
  EXPECT_EQ(ToHalfWidth(u"ガ"), u"ｶﾞ");
  EXPECT_EQ(ToFullWidth(u"ｶﾞ ｲﾄﾞ"), u"ガ　イド");
  EXPECT_EQ(ToHalfWidth(u""), u"");
  EXPECT_EQ(MapStringWide(u"abc", 0), u""); // a failed mapping is empty
}
