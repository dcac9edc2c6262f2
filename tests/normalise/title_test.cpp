#include "common/record.h"
#include "normalise/normalise.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One title row and what it leaves behind. preset is Volume before the
// call (written by the page's volume row when that came first).
struct TitleCase {
  const char* name;
  std::string input, title, volume, notes;
  std::string preset = "";
};

void CheckAll(const std::vector<TitleCase>& cases) {
  for (const TitleCase& c : cases) {
    SCOPED_TRACE(c.name);
    ClearRecord();
    Book.Title = "stale"; // Title is written in every case
    Book.Volume = c.preset;
    const std::string notes = AnalyseTitle(c.input);
    EXPECT_EQ(Hex(Book.Title), Hex(c.title)) << "Title";
    EXPECT_EQ(Hex(Book.Volume), Hex(c.volume)) << "Volume";
    EXPECT_EQ(Hex(notes), Hex(c.notes)) << "notes";
  }
}

} // namespace

TEST(AnalyseTitle, RulesInTheirOrderOfPrecedence) {
  CheckAll({
      {"row 1, worked example: number after 第 with 巻 held back",
       Sjis("ＡＢＣ 第３巻"), "ABC", "3", ""},
      {"row 2: full-width brackets", Sjis("日本史入門（上）"),
       Sjis("日本史入門"), Sjis("上"), ""},
      {"row 3, worked example: group followed by text", Sjis("入門 (2) 新装版"),
       Sjis("入門"), "2", Sjis("新装版")},
      {"row 4", Sjis("ABC 第3巻 (新装版)"), "ABC", "3", Sjis("新装版")},
      {"row 5: notes keep their order", "ABC (foo) (bar)", "ABC", "",
       "foo bar"},
      {"row 6: the rightmost designation wins", "ABC (1) (2)", "ABC", "2", "1"},
      {"row 7", Sjis("ABC (第2集)"), "ABC", "2", ""},
      {"row 8: a note keeps its 巻", Sjis("ABC (全3巻)"), "ABC", "",
       Sjis("全3巻")},
      {"row 9", "ABC (3) DEF (GHI)", "ABC", "3", "DEF GHI"},
      {"row 10: one level of nesting", "ABC (foo (bar))", "ABC", "",
       "foo (bar)"},
      {"row 11: an empty group", "ABC (3) ()", "ABC", "3", ""},
      {"row 12: no Latin marker inside a group", "ABC (Vol.3)", "ABC", "",
       "Vol.3"},
      {"row 13", "ABC (A)", "ABC", "", "A"},
      {"row 14: a ) without (", "ABC)", "", "", "ABC"},
      {"row 15", "(3)", "", "3", ""},
      {"row 16", Sjis("ABC 1巻"), "ABC", "1", ""},
      {"row 17", Sjis("ABC 第三巻"), "ABC", Sjis("三"), ""},
      {"row 18", "ABC II", "ABC", "II", ""},
      {"row 19: the last word beats 第", Sjis("ABC 第1巻 上"),
       Sjis("ABC 第1巻"), Sjis("上"), ""},
      {"row 20: digits glued to 巻", Sjis("ABC3巻"), "ABC", "3", ""},
      {"row 21: nothing left of the title", Sjis("3巻"), "", "3", ""},
      {"row 22", "ABC vol 3", "ABC vol", "3", ""},
      {"row 23: the title in the key's form", "ABC Vol.3", Sjis("ABC　"), "3",
       ""},
      {"row 24: a trailing group beats the Latin marker", "ABC NO.1 (2)",
       "ABC NO.1", "2", ""},
      {"row 25: NO inside a word", "KNOWLEDGE2", "K", "2", ""},
      {"row 26: the key does not end in a digit", Sjis("ABC Vol.3 特装版"),
       Sjis("ABC Vol.3 特装版"), "", ""},
      {"row 27: an empty last word after 巻", Sjis("ABC 巻"), "ABC", "", ""},
      {"row 28: nothing after 第", Sjis("ABC 第"), "ABC", "", ""},
      {"row 29: nothing after 編, 集 not put back", Sjis("ABC短編集"),
       Sjis("ABC短編"), "", ""},
      {"row 30: the later of 第 and 編", Sjis("ABC 第2編"), Sjis("ABC 第2編"),
       "", ""},
      {"row 31", Sjis("ABC 第3部"), Sjis("ABC 第3部"), "", ""},
      {"row 32: no digits before 巻, which is put back", Sjis("ABC上巻"),
       Sjis("ABC上巻"), "", ""},
      {"row 33", Sjis("ABC 全集"), Sjis("ABC 全集"), "", ""},
      {"row 34: a preset Volume stands, the group is a note", "ABC (2)", "ABC",
       "5", "2", "5"},
      {"row 35: a preset Volume ends the analysis", "ABC 2", "ABC 2", "5", "",
       "5"},
      {"the first 第, not the last", Sjis("ABC第一部第2"), Sjis("ABC第一部第2"),
       "", ""},
      {"the later of VOL and NO", "NO.1 VOL.2", Sjis("NO．1　"), "2", ""},
  });
}

// Second bytes in 0x40-0x7E look like ASCII. Replacing and searching whole
// characters keeps them intact: a marker is only found where a character
// begins, so no title is ever cut inside a character.
TEST(AnalyseTitle, DoubleByteCharactersWithAsciiLookingSecondBytes) {
  CheckAll({
      // 早 is 91 81: 81 69 / 81 6A across two characters are no （ ）.
      {"早 then i and j are no full-width brackets", Sjis("早i3早j"),
       Sjis("早i3早j"), "", ""},
      // 香 8D 81 + I is no ！, 早 91 81 + @ is no full-width space.
      {"香I and 早@ are no ！ or space", Sjis("香I早@3"), Sjis("香I早@3"), "",
       ""},
      // 新 is 90 56: its V is not a Roman numeral.
      {"last word with a trail byte V", Sjis("ABC 新II"), Sjis("ABC 新II"), "",
       ""},
      {"trail byte V right before VOL", Sjis("ABC新VOL.3"), Sjis("ABC新"), "3",
       ""},
      // 年 is 94 4E.
      {"trail byte N right before NO", Sjis("少年NO.2"), Sjis("少年"), "2", ""},
      // 90 56 4F 4C holds the bytes of VOL, but VOL begins inside 新.
      {"no VOL across 新 and OL", Sjis("新OL3"), Sjis("新OL3"), "", ""},
      // 装 ﾒ is 91 95 D2, which holds the bytes of 編 (95 D2).
      {"no 編 across 装 and ﾒ", Sjis("ABC装ﾒ3"), Sjis("ABC装ﾒ3"), "", ""},
      // 炎 ｪ is 89 8A AA, which ends in the bytes of 巻 (8A AA).
      {"no 巻 across 炎 and ｪ", Sjis("ABC3炎ｪ"), Sjis("ABC3炎ｪ"), "", ""},
      {"digit walk stops at a kanji", Sjis("ABC新12巻"), Sjis("ABC新"), "12",
       ""},
      // ｪ is AA, the second byte of 巻 (8A AA).
      {"a final AA byte is no 巻", Sjis("ABC3ｪ"), Sjis("ABC3ｪ"), "", ""},
  });
}

TEST(AnalyseTitle, CutAndEmptyTexts) {
  CheckAll({
      {"a lead byte at the very end, after a group", Sjis("ABC (3)") + "\x81",
       "ABC", "3", "\x81"},
      {"a lead byte at the very end, after a digit", "ABC 3\x8A", "ABC 3\x8A",
       "", ""},
      {"a lone lead byte", "\x81", "\x81", "", ""},
      {"empty text", "", "", "", ""},
      {"blanks only, also the full-width space", Sjis(" \t　"), "", "", ""},
  });
}

TEST(IsVolumeWord, DigitsUpperMiddleLowerKanjiAndRomanNumerals) {
  const struct {
    std::string text;
    bool expected;
  } cases[] = {
      {"", true},
      {"0123456789", true},
      {"12a", false},
      {Sjis("１"), false}, // full-width digits are narrowed before the test
      {Sjis("上"), true},
      {Sjis("中"), true},
      {Sjis("下"), true},
      {Sjis("上下"), false},
      {Sjis("上巻"), false},
      {Sjis("十二"), true},
      {Sjis("三"), true}, // 8E 4F: its second byte O does not matter
      {Sjis("壱弐参拾百"), true},
      {Sjis("千"), false},
      {Sjis("〇"), false},
      {"XIV", true},
      {"ivx", true},
      {"IL", false},
      {"Vol", false},
      {Sjis("新"), false}, // 90 56: a trail byte V is no Roman numeral
      {Sjis("覈"), false}, // E6 49: nor a trail byte I
      {Sjis("一2"), false},
      {Sjis("2上"), false},
      {Sjis("十I"), false},
      {"\x88", false}, // the lead byte of 一 alone
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsVolumeWord(c.text), c.expected) << Hex(c.text);
}
