// The result file shown readably.
#include "result_display.h"

#include "support/sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

TEST(CommaText, Items) {
  using Items = std::vector<std::string>;
  struct Case {
    const char* line;
    Items items;
  } cases[] = {
      {"a,b,c", {"a", "b", "c"}},
      {"", {""}},
      {",", {"", ""}},
      {"a,,", {"a", "", ""}},
      {"\"a,b\",c", {"a,b", "c"}},
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"\"\"", {""}},
      {"\"\",\"\"", {"", ""}},
      {"a\"b,c", {"a\"b", "c"}},
      {"\"ab\"cd,e", {"abcd", "e"}},
      {"\"open,quote", {"open,quote"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitCommaText(c.line), c.items) << c.line;
}

TEST(ResultDisplay, LineBreaksComeBack) {
  struct Case {
    const char* item;
    const char* restored;
  } cases[] = {
      {"a$$b", "a\nb"}, {"$$", "\n"},       {"$$$", "\n$"}, {"$$$$", "\n\n"},
      {"$", "$"},       {"a$b$c", "a$b$c"}, {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RestoreLineBreaks(c.item), c.restored) << c.item;
}

TEST(ResultDisplay, FieldKeysAreUnique) {
  EXPECT_EQ(FieldKey(1), "Isbn");
  EXPECT_EQ(FieldKey(12), "Reserved12");
  EXPECT_EQ(FieldKey(20), "Reserved20");
  EXPECT_EQ(FieldKey(66), "Author1Note");
  EXPECT_EQ(FieldKey(69), "Beyond69");
  std::set<std::string> keys;
  for (std::size_t i = 1; i <= 70; ++i)
    EXPECT_TRUE(keys.insert(FieldKey(i)).second) << i;
}

TEST(ResultDisplay, FieldNames) {
  EXPECT_EQ(FieldName(1), "Isbn");
  EXPECT_EQ(FieldName(12), "reserved");
  EXPECT_EQ(FieldName(13), "Publisher");
  EXPECT_EQ(FieldName(38), "CoverUrl");
  EXPECT_EQ(FieldName(66), "Author1Note");
  EXPECT_EQ(FieldName(68), "reserved");
  EXPECT_EQ(FieldName(69), "beyond the record");
}

std::string Record(std::vector<std::pair<int, std::string>> fields) {
  std::vector<std::string> items(68);
  for (auto& [position, value] : fields)
    items[position - 1] = value;
  std::string line;
  for (std::size_t i = 0; i < items.size(); ++i)
    line += (i ? "," : "") + items[i];
  return line;
}

TEST(ResultDisplay, RecordsConvertedFromCodePage932) {
  const std::string file = Record({{1, "9784101092058"},
                                   {2, Sjis("\"吾輩は猫である\"")},
                                   {6, Sjis("夏目漱石")},
                                   {13, Sjis("\"新潮社, 東京\"")},
                                   {20, "x"}}) +
                           "\r\n" + Record({{1, "4101092052"}, {22, "590"}}) +
                           "\r\n";
  EXPECT_EQ(FormatResult(file), "record 1 (68 items)\n"
                                "  01 Isbn: 9784101092058\n"
                                "  02 Title: 吾輩は猫である\n"
                                "  06 Author1: 夏目漱石\n"
                                "  13 Publisher: 新潮社, 東京\n"
                                "  20 reserved: x\n"
                                "record 2 (68 items)\n"
                                "  01 Isbn: 4101092052\n"
                                "  22 Price: 590\n");
}

TEST(ResultDisplay, ParagraphsOnLinesOfTheirOwn) {
  const std::string file = Record(
      {{1, "9784101092058"}, {37, Sjis("一行目。$$二行目。$$三行目。")}});
  EXPECT_EQ(FormatResult(file), "record 1 (68 items)\n"
                                "  01 Isbn: 9784101092058\n"
                                "  37 Description: 一行目。\n"
                                "                  二行目。\n"
                                "                  三行目。\n");
}

// A record with a quote, a backslash, a control byte and two paragraphs;
// and an empty line, which is a record with nothing in it.
TEST(ResultDisplay, JsonLines) {
  const std::string file = Record({{1, "9784101092058"},
                                   {2, Sjis("\"吾輩は\"\"猫\"\"\"")},
                                   {12, "x"},
                                   {37, Sjis("a\\b\x01"
                                             "c$$二")}}) +
                           "\r\n\r\n";
  EXPECT_EQ(FormatResultJson(file),
            "{\"record\":1,\"Isbn\":\"9784101092058\","
            "\"Title\":\"吾輩は\\\"猫\\\"\",\"Reserved12\":\"x\","
            "\"Description\":\"a\\\\b\\u0001c\\n二\"}\n"
            "{\"record\":2}\n");
  EXPECT_EQ(FormatResultJson(""), "");
}

TEST(ResultDisplay, CsvWithHeader) {
  const std::string file = Record({{1, "4101092052"},
                                   {13, Sjis("\"新潮社, 東京\"")},
                                   {37, Sjis("\"say \"\"hi\"\"$$bye\"")}}) +
                           "\r\n" + "a,b";
  const std::string csv = FormatResultCsv(file);
  std::string header = "Isbn,Title,TitleReading";
  EXPECT_EQ(csv.substr(0, header.size()), header);
  std::size_t headerEnd = csv.find("\r\n");
  ASSERT_NE(headerEnd, std::string::npos);
  EXPECT_EQ(std::count(csv.begin(), csv.begin() + headerEnd, ','), 67);
  EXPECT_NE(csv.find(",Reserved68\r\n"), std::string::npos);

  std::string row1 = "4101092052" + std::string(12, ',') + "\"新潮社, 東京\"" +
                     std::string(24, ',') + "\"say \"\"hi\"\"\nbye\"" +
                     std::string(31, ',') + "\r\n";
  std::string row2 = "a,b" + std::string(66, ',') + "\r\n";
  EXPECT_EQ(csv.substr(headerEnd + 2), row1 + row2);

  const std::string wide = FormatResultCsv(Record({}) + ",z\r\n");
  EXPECT_NE(wide.find(",Reserved68,Beyond69\r\n"), std::string::npos)
      << "a longer line widens the table";
  EXPECT_EQ(FormatResultCsv("").size(), headerEnd + 2) << "header only";
}

// The item count shows a record that is short or long at a glance.
TEST(ResultDisplay, ShortLongAndEmptyLines) {
  const std::string file = "a,b\n\n" + Record({{68, "z"}}) + ",extra";
  EXPECT_EQ(FormatResult(file), "record 1 (2 items)\n"
                                "  01 Isbn: a\n"
                                "  02 Title: b\n"
                                "record 2 (1 items)\n"
                                "record 3 (69 items)\n"
                                "  68 reserved: z\n"
                                "  69 beyond the record: extra\n");
  EXPECT_EQ(FormatResult(""), "no records\n");
}

} // namespace
