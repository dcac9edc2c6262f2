#include "common/text.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

TEST(Text, CharLengthFollowsLeadBytes) {
  const std::string text = Sjis("aソ") + "\x81";
  EXPECT_EQ(CharLength(text, 0), 1u);
  EXPECT_EQ(CharLength(text, 1), 2u);
  EXPECT_EQ(CharLength(text, 3), 1u); // a lead byte at the very end
  for (int b : {0x81, 0x9F, 0xE0, 0xFC})
    EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(b))) << b;
  for (int b : {0x00, 0x40, 0x7F, 0x80, 0xA0, 0xA1, 0xDF, 0xFD, 0xFF})
    EXPECT_FALSE(IsLeadByte(static_cast<unsigned char>(b))) << b;
}

TEST(Text, ReplaceAllMatchesWholeCharactersOnly) {
  struct Case {
    const char* name;
    std::string text, from, to, expected;
  } cases[] = {
      {"every occurrence", "a,b,,c", ",", ";", "a;b;;c"},
      {"left to right without overlap", "aaa", "aa", "b", "ba"},
      {"trail byte 0x5C of ソ is not a backslash", Sjis("ソ\\"), "\\", "/",
       Sjis("ソ/")},
      {"trail byte 0x5C of 表 is not a backslash", Sjis("表\\"), "\\", "",
       Sjis("表")},
      {"trail byte 0x7C of ポ is not a bar", Sjis("ポ|"), "|", "!",
       Sjis("ポ!")},
      {"a match straddling two characters is none", Sjis("アイ"),
       std::string("\x41\x83"), "X", Sjis("アイ")},
      {"empty from changes nothing", "abc", "", "x", "abc"},
      {"empty text", "", ",", ";", ""},
      {"lead byte at the end", "a\x81", "a", "b", "b\x81"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(ReplaceAll(c.text, c.from, c.to)), Hex(c.expected));
  }
}

TEST(Text, ContainsSearchesBytesAnywhere) {
  // A byte search may land inside a double-byte character.
  EXPECT_TRUE(Contains(Sjis("ソ"), "\\"));
  EXPECT_TRUE(Contains("abc", "bc"));
  EXPECT_FALSE(Contains("abc", "C"));
}

TEST(Text, FindBytesFindsLongMarkersAsTheLibraryDoes) {
  // Markers beyond 32 bytes take the search that never steps back in the
  // text; std::string_view::find is the reference.
  const std::string periodic = std::string(40, 'a') + "b";
  const std::string text = std::string(100, 'a') + periodic + "a" + periodic;
  struct Case {
    const char* name;
    std::string text, marker;
    size_t from;
  } cases[] = {
      {"periodic marker after a run of its letter", text, periodic, 0},
      {"from past the first occurrence", text, periodic, 62},
      {"from the last possible position", text, periodic,
       text.size() - periodic.size()},
      {"from beyond the text", text, periodic, text.size() + 1},
      {"absent", text, std::string(40, 'a') + "c", 0},
      {"marker longer than the text", periodic, periodic + "x", 0},
      {"marker of the whole text", periodic, periodic, 0},
      // The match begins at the second byte of ソ.
      {"inside a double-byte character", Sjis("表ソポ") + periodic,
       "\\\x83|" + periodic, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindBytes(c.text, c.marker, c.from),
              std::string_view(c.text).find(c.marker, c.from));
  }
}

TEST(Text, TrimKeepsTheFullWidthSpace) {
  EXPECT_EQ(Trim(" \t\r\n a b \x01"), "a b");
  EXPECT_EQ(Trim(Sjis("　a　")), Sjis("　a　"));
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(TrimRight(" a \t"), " a");
  EXPECT_EQ(TrimRight(Sjis("a　 ")), Sjis("a　"));
}

TEST(Text, EndsWithWholeMatchesTheLastCharacters) {
  EXPECT_TRUE(EndsWithWhole(Sjis("第3巻"), Sjis("巻")));
  EXPECT_TRUE(EndsWithWhole("abc", ""));
  EXPECT_FALSE(EndsWithWhole(Sjis("巻"), Sjis("第3巻")));
  // 炎 ｪ is 89 8A AA: its last two bytes are those of 巻 (8A AA).
  EXPECT_FALSE(EndsWithWhole(Sjis("炎ｪ"), Sjis("巻")));
  // ソ is 83 5C: a backslash as its second byte is no character of its own.
  EXPECT_FALSE(EndsWithWhole(Sjis("ソ"), "\\"));
  EXPECT_TRUE(EndsWithWhole(Sjis("ソ") + "\\", "\\"));
}

TEST(Text, SliceCountsFromOneAndStopsAtTheEnd) {
  EXPECT_EQ(Slice("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Slice("abcdef", 5, 10), "ef");
  EXPECT_EQ(Slice("abc", 4, 1), "");
  EXPECT_EQ(Slice("abc", 0, 1), "");
}

TEST(Text, SplitLinesAtEveryLineEnd) {
  struct Case {
    const char* name;
    std::string text;
    StringList lines;
  } cases[] = {
      {"empty", "", {}},
      {"one empty line", "\r\n", {""}},
      {"trailing break adds no line", "a\r\nb\r\n", {"a", "b"}},
      {"no trailing break", "a\nb", {"a", "b"}},
      {"lone CR", "a\rb", {"a", "b"}},
      {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
      {"empty lines kept", "a\r\n\r\nb", {"a", "", "b"}},
      {"NUL is an ordinary byte",
       std::string("a\0b\nc", 5),
       {std::string("a\0b", 3), "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitLines(c.text), c.lines);
  }
}

TEST(Text, FromUtf8GivesCodePage932) {
  EXPECT_EQ(Hex(FromUtf8(u8"検索 ISBN")), Hex(Sjis("検索 ISBN")));
  EXPECT_EQ(FromUtf8(u8""), "");
}

TEST(Text, FindWholeAndTrimLeft) {
  // ポ is 83 7C: its second byte is no "|" of its own.
  EXPECT_EQ(FindWhole(Sjis("ポ|"), "|"), 2u);
  EXPECT_EQ(FindWhole(Sjis("ポ"), "|"), std::string::npos);
  EXPECT_EQ(FindWhole("a|b|c", "|", 2), 3u);
  EXPECT_EQ(FindWhole("abc", ""), std::string::npos);
  // 堰E is 89 81 45: its last two bytes are those of ・ (81 45).
  EXPECT_EQ(FindWhole(Sjis("堰E・"), Sjis("・")), 3u);
  EXPECT_EQ(TrimLeft(" \t a "), "a ");
  EXPECT_EQ(TrimLeft(Sjis("　a")), Sjis("　a"));
}
