#include "common/record.h"
#include "normalise/normalise.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

TEST(NormaliseBookSize, ShortForms) {
  struct Case {
    std::string input, expected;
  } cases[] = {
      {"B6判", "B6"},
      {"Ａ５判", "A5"},
      {"四六判", "四六"},
      {"4-6判", "四六"},
      {"4－6判", "四六"},
      {"B6変形判", "B6変型"},
      {"A5変型", "A5変型"},
      {"A4変", "A4変型"},
      {"変形版", "変型"},
      {"新書判", "新書"},
      {"19cm", "19cm"},
      {"14-4-6cm", "14-四六cm"},
      {"", ""},
      {"文庫ソ判", "文庫ソ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    ClearRecord();
    EXPECT_TRUE(NormaliseBookSize(Sjis(c.input)));
    EXPECT_EQ(SjisToUtf8(Book.BookSize), c.expected);
  }
}

TEST(NormalisePubDate, Table) {
  // "-" for a field that is not written.
  struct Case {
    std::string input, year, month, day;
    bool result;
  } cases[] = {
      {"2006.10", "2006", "10", "-", true},
      {"2006.1", "2006", "01", "-", true},
      {"2006.10.5", "2006", "10", "05", true},
      {"2006/10/05", "2006", "10", "05", true},
      {"2006/1", "2006", "01", "-", true},
      {"2006年10月", "2006", "10", "-", true},
      {"2006年10月5日", "2006", "10", "05", true},
      {"2006年", "2006", "-", "-", true},
      {"06年", "2006", "-", "-", true},
      {"59.1", "2059", "01", "-", true},
      {"60.1", "1960", "01", "-", true},
      {"平成18年10月", "", "10", "-", true},
      {"c2006.10", "", "10", "-", true},
      {"2006.13", "2006", "13", "-", true},
      {"2006.100", "2006", "-", "-", true},
      {"20061005", "2006", "10", "05", true},
      {"200610", "2006", "10", "-", true},
      {"061005", "2006", "10", "05", true},
      {"991231", "1999", "12", "31", true},
      {"191231", "1912", "31", "-", true},
      {"2006", "", "-", "-", false},
      {"[2006]", "", "-", "-", false},
      {"2006 10", "", "-", "-", false},
      {"２００６．１０", "", "-", "-", false},
      // Beyond the table: full-width digits, spaces, no digits, empties.
      {"２００６年１０月", "2006", "10", "-", true},
      {" 2006 . 10 ", "2006", "10", "-", true},
      {"2006.", "2006", "-", "-", true},
      {".10", "", "10", "-", true},
      {"2006年十月", "2006", "-", "-", true},
      {"00000000", "", "-", "-", false},
      {"99999999999", "", "-", "-", false},
      {"", "", "-", "-", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    ClearRecord();
    EXPECT_EQ(NormalisePubDate(Sjis(c.input)), c.result);
    EXPECT_EQ(Book.PubYear, c.year);
    EXPECT_EQ(Book.PubMonth, c.month == "-" ? "" : c.month);
    EXPECT_EQ(Book.PubDay, c.day == "-" ? "" : c.day);
  }
}
