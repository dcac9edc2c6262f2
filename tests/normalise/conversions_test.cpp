#include "normalise/normalise.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
  std::string input, expected;
};

} // namespace

TEST(NarrowAlnum, FullWidthDigitsAndLettersOnly) {
  const TextCase cases[] = {
      {Sjis("ＡＢＣ１２３ｘｙｚ"), "ABC123xyz"},
      {Sjis("（１）"), Sjis("（1）")},
      {Sjis("第３巻"), Sjis("第3巻")},
      {Sjis("ｺﾐｯｸ"), Sjis("ｺﾐｯｸ")},
      {Sjis("０９ＡＺａｚ"), "09AZaz"},
      // Neighbours of the ranges: ＠ (82 4E? no: 81 97), ｚ's neighbours.
      {Sjis("．＠［｀｛"), Sjis("．＠［｀｛")},
      // Second bytes 0x4F-0x79 under another lead byte are not digits.
      {Sjis("ソポ表"), Sjis("ソポ表")},
      {"", ""},
      {"a\x82", "a\x82"}, // a lead byte at the very end is copied
      {std::string("\x82\x60\0\x82\x60", 5), "A"}, // the walk ends at a NUL
  };
  for (const TextCase& c : cases)
    EXPECT_EQ(Hex(NarrowAlnum(c.input)), Hex(c.expected)) << Hex(c.input);
}

TEST(MatchKey, IgnoresCaseAndWidth) {
  const TextCase cases[] = {
      {"abc 1.", Sjis("ＡＢＣ　１．")},
      {Sjis("ｺﾐｯｸ"), Sjis("コミック")},
      {Sjis("コミック"), Sjis("コミック")},
      {"Comic", Sjis("ＣＯＭＩＣ")},
      {Sjis("ＣＯＭＩＣ"), Sjis("ＣＯＭＩＣ")},
      {Sjis("ｃｏｍｉｃ"), Sjis("ＣＯＭＩＣ")},
      {Sjis("ｶﾞｲﾄﾞ"), Sjis("ガイド")},
      {Sjis("文庫ソ"), Sjis("文庫ソ")},
      {"", ""},
  };
  for (const TextCase& c : cases)
    EXPECT_EQ(Hex(MatchKey(c.input)), Hex(c.expected)) << Hex(c.input);
  EXPECT_EQ(Hex(NarrowAlnum(MatchKey("abc 1."))),
            Hex("ABC" + Sjis("　") + "1" + Sjis("．")));
}

TEST(TrailingDigits, RunAtTheEndOrTheWholeText) {
  const TextCase cases[] = {
      {"VOL.12", "12"}, {"ABC", "ABC"}, {"1A", "1A"},
      {"", ""},         {"123", "123"}, {Sjis("第１２"), Sjis("第１２")},
  };
  for (const TextCase& c : cases)
    EXPECT_EQ(TrailingDigits(c.input), c.expected) << c.input;
}

TEST(NumeralTests, Table) {
  struct Case {
    bool (*test)(const std::string&);
    const char* name;
    std::string text;
    bool expected;
  } cases[] = {
      {IsAllDigits, "IsAllDigits", "", true},
      {IsAllDigits, "IsAllDigits", "0123456789", true},
      {IsAllDigits, "IsAllDigits", "12a", false},
      {IsAllDigits, "IsAllDigits", Sjis("１２"), false},
      {IsKanjiNumeral, "IsKanjiNumeral", Sjis("十二"), true},
      {IsKanjiNumeral, "IsKanjiNumeral", Sjis("二十一"), true},
      {IsKanjiNumeral, "IsKanjiNumeral", Sjis("百百"), true},
      {IsKanjiNumeral, "IsKanjiNumeral", Sjis("壱弐参拾"), true},
      {IsKanjiNumeral, "IsKanjiNumeral", Sjis("一a"), false},
      {IsKanjiNumeral, "IsKanjiNumeral", "A", false},
      {IsKanjiNumeral, "IsKanjiNumeral", Sjis("千"), false},
      {IsKanjiNumeral, "IsKanjiNumeral", Sjis("〇"), false},
      {IsKanjiNumeral, "IsKanjiNumeral", Sjis("万"), false},
      {IsKanjiNumeral, "IsKanjiNumeral", "12", false},
      {IsKanjiNumeral, "IsKanjiNumeral", "", true},
      // Two-byte steps from the start: a numeral's bytes out of step fail.
      {IsKanjiNumeral, "IsKanjiNumeral", "a" + Sjis("一") + "b", false},
      {IsRomanNumeral, "IsRomanNumeral", "XIV", true},
      {IsRomanNumeral, "IsRomanNumeral", "VVX", true},
      {IsRomanNumeral, "IsRomanNumeral", "ivx", true},
      {IsRomanNumeral, "IsRomanNumeral", "IL", false},
      {IsRomanNumeral, "IsRomanNumeral", "", true},
      {IsRomanNumeral, "IsRomanNumeral", Sjis("Ⅳ"), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.test(c.text), c.expected) << c.name << " " << Hex(c.text);
}
