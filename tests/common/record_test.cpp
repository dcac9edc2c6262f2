#include "common/record.h"
#include "common/text.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

namespace {

// The host's reading of a comma-text line: items separated by commas, an
// item in double quotes may hold commas, and "" inside it is one quote.
StringList ParseCommaText(const std::string& line) {
  StringList items(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      items.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      items.emplace_back();
    } else {
      items.back() += c;
    }
  }
  return items;
}

class RecordTest : public ::testing::Test {
protected:
  void SetUp() override { ClearRecord(); }
};

} // namespace

TEST_F(RecordTest, EmptyRecordIsSixtySevenCommas) {
  EXPECT_EQ(MakeOutputLine(), std::string(67, ','));
  Book.Isbn = "9784000000001";
  EXPECT_EQ(MakeOutputLine(), "9784000000001" + std::string(67, ','));
}

TEST_F(RecordTest, FieldsLandAtTheirPositions) {
  struct Placement {
    std::string TBase::*field;
    int position;
  } placements[] = {
      {&TBase::Isbn, 1},           {&TBase::Title, 2},
      {&TBase::TitleReading, 3},   {&TBase::Subtitle, 4},
      {&TBase::Volume, 5},         {&TBase::Author1, 6},
      {&TBase::Author1Reading, 7}, {&TBase::Author2, 8},
      {&TBase::Author2Reading, 9}, {&TBase::Author3, 10},
      {&TBase::ClassCode, 11},     {&TBase::Publisher, 13},
      {&TBase::Series, 14},        {&TBase::BookSize, 16},
      {&TBase::DetailUrl, 17},     {&TBase::Extra1, 18},
      {&TBase::Extra2, 19},        {&TBase::PurchaseStatus, 21},
      {&TBase::Price, 22},         {&TBase::TaxSetting, 23},
      {&TBase::TaxSetting2, 25},   {&TBase::PubYear, 26},
      {&TBase::PubMonth, 27},      {&TBase::PubDay, 28},
      {&TBase::Pages, 36},         {&TBase::Description, 37},
      {&TBase::CoverUrl, 38},      {&TBase::ReadStatus, 47},
      {&TBase::Author1Note, 66},   {&TBase::Reserved68, 68},
  };
  for (const Placement& p : placements) {
    SCOPED_TRACE(p.position);
    ClearRecord();
    Book.*p.field = "X";
    StringList items = ParseCommaText(MakeOutputLine());
    ASSERT_EQ(items.size(), 68u);
    for (int pos = 1; pos <= 68; ++pos)
      EXPECT_EQ(items[pos - 1], pos == p.position ? "X" : "") << pos;
    EXPECT_EQ(FieldAtPosition(Book, p.position), &(Book.*p.field));
  }
  EXPECT_EQ(FieldAtPosition(Book, 20), nullptr);
  EXPECT_EQ(FieldAtPosition(Book, 41), nullptr);
  EXPECT_EQ(FieldAtPosition(Book, 0), nullptr);
  EXPECT_EQ(FieldAtPosition(Book, 69), nullptr);
}

TEST_F(RecordTest, ClearRecordEmptiesEveryField) {
  for (int pos = 1; pos <= 68; ++pos)
    if (std::string* field = FieldAtPosition(Book, pos))
      *field = "x";
  ClearRecord();
  EXPECT_EQ(MakeOutputLine(), std::string(67, ','));
}

TEST(EscapeField, ThreePassesInOrder) {
  struct Case {
    const char* name;
    std::string text, expected;
  } cases[] = {
      {"CR LF pairs", "a\r\nb\r\n", "a$$b$$"},
      {"lone CR and LF stay", "a\rb\nc\n\r", "a\rb\nc\n\r"},
      {"double quote", "say \"x\"", Sjis("say ”x”")},
      {"comma", "a,b", Sjis("a，b")},
      {"all three", "\"a,\"\r\n", Sjis("”a，”$$")},
      {"trail bytes are not touched", Sjis("ソ表ポ"), Sjis("ソ表ポ")},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(EscapeField(c.text)), Hex(c.expected));
  }
}

TEST(MapHalfWidth, MapsTheWholeText) {
  EXPECT_EQ(Hex(MapHalfWidth(Sjis("カタカナ　ガイド"))),
            Hex(Sjis("ｶﾀｶﾅ ｶﾞｲﾄﾞ")));
  EXPECT_EQ(Hex(MapHalfWidth(Sjis("ＡＢＣ１２３ひらがな漢字"))),
            Hex(Sjis("ABC123ひらがな漢字")));
  // However long: no cut at 255 bytes.
  std::string longReading, expected;
  for (int i = 0; i < 300; ++i) {
    longReading += Sjis("パ");
    expected += Sjis("ﾊﾟ");
  }
  EXPECT_EQ(MapHalfWidth(longReading), expected);
  EXPECT_EQ(MapHalfWidth(""), "");
}

TEST_F(RecordTest, CommaTextQuotesOnlyWhatNeedsIt) {
  struct Case {
    const char* name;
    std::string TBase::*field;
    int position;
    std::string value, written;
  } cases[] = {
      {"two paragraphs", &TBase::Description, 37, "a\r\nb", "a$$b"},
      {"paragraphs with a space", &TBase::Description, 37, "a b\r\nc",
       "\"a b$$c\""},
      {"double quote in a title", &TBase::Title, 2, "a\"b", Sjis("a”b")},
      {"comma in a publisher", &TBase::Publisher, 13, "a,b", Sjis("a，b")},
      {"reading with an ideographic space", &TBase::TitleReading, 3,
       Sjis("カタ　カナ"), "\"" + Sjis("ｶﾀ ｶﾅ") + "\""},
      {"lone LF", &TBase::Description, 37, "a\nb", "\"a\nb\""},
      {"tab", &TBase::Title, 2, "a\tb", "\"a\tb\""},
      {"control byte", &TBase::Title, 2, "a\x01", "\"a\x01\""},
      {"full-width space in an author is not mapped", &TBase::Author1, 6,
       Sjis("山田　太郎"), Sjis("山田　太郎")},
      {"author reading is mapped", &TBase::Author1Reading, 7,
       Sjis("ヤマダ　タロウ"), "\"" + Sjis("ﾔﾏﾀﾞ ﾀﾛｳ") + "\""},
      {"second author reading is mapped", &TBase::Author2Reading, 9, Sjis("ガ"),
       Sjis("ｶﾞ")},
      {"trail bytes never cause quotes", &TBase::Title, 2, Sjis("ソ表ポ"),
       Sjis("ソ表ポ")},
      // Found by fuzz/output_line.cpp and fuzz/download.cpp: a lead byte
      // without its second byte took the comma after it, for a reader that
      // steps over double-byte characters.
      {"lead byte at the end of a field", &TBase::Isbn, 1, "978\x81", "978?"},
      {"lead byte before a comma", &TBase::Publisher, 13, "a\x81,b",
       Sjis("a?，b")},
      {"lead byte before a space", &TBase::Title, 2, "a\x81 b", "\"a? b\""},
      {"lead byte before a quote", &TBase::Title, 2, "\xE8\"", Sjis("?”")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearRecord();
    Book.*c.field = c.value;
    std::string expected;
    for (int pos = 1; pos <= 68; ++pos) {
      if (pos > 1)
        expected += ',';
      if (pos == c.position)
        expected += c.written;
    }
    EXPECT_EQ(Hex(MakeOutputLine()), Hex(expected));
  }
}
