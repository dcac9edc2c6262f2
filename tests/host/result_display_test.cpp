// The result file shown readably.
#include "result_display.h"

#include "support/sjis.h"

#include <gtest/gtest.h>

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
