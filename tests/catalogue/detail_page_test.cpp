// The detail page reader over small pages in the catalogue's format.
#include "Wait/wait.h"
#include "catalogue/detail_page.h"
#include "common/host.h"
#include "common/record.h"
#include "names/names.h"
#include "plugin/driver.h"
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const std::string kBase = "http://catalogue.test";

// A host download that never succeeds.
TfBool TF_API NoDownload(const char* localPath, const char*) {
  std::remove(localPath);
  return 0;
}

// Lines that hold no row label, as the page's tail.
std::string Filler(int count) {
  std::string text;
  for (int k = 0; k < count; ++k)
    text += "<p>-</p>\n";
  return text;
}

// A page of the given lines (UTF-8) followed by 13 lines without labels,
// so that every given line is scanned.
std::string Page(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\n";
  return text + Filler(13);
}

std::vector<std::string> TitleRow(const std::string& title) {
  return {"<th>書名</th>", "<td>" + title + "</td>"};
}

std::vector<std::string> operator+(std::vector<std::string> a,
                                   const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class DetailPage : public ::testing::Test {
protected:
  TempDir dir;
  std::string path;

  void SetUp() override {
    DataDir = dir.Path() + "/";
    path = DataDir + "Temp.html";
    StopFlag = false;
    ClearRecord();
  }
  void TearDown() override { StopFlag = false; }

  bool Parse(const std::string& page) {
    dir.Write("Temp.html", page);
    return ParseDetailPage(path, kBase);
  }
};

} // namespace

TEST_F(DetailPage, LineCountsAndTheLastThirteenLines) {
  EXPECT_FALSE(Parse("<th>書名</th>\n<td>A</td>\n" + Filler(11))) << "13 lines";
  ClearRecord();
  EXPECT_TRUE(Parse("<th>書名</th>\n<td>A</td>\n" + Filler(12))) << "14 lines";
  EXPECT_EQ(Book.Title, "A");
  ClearRecord();
  // With 14 lines only line 0 is tested: a title on line 1 is not seen.
  EXPECT_FALSE(Parse("<p></p>\n<th>書名</th>\n<td>A</td>\n" + Filler(11)));
  ClearRecord();
  EXPECT_FALSE(Parse("")) << "empty page";
  EXPECT_FALSE(ParseDetailPage(dir.File("missing.html"), kBase));
}

TEST_F(DetailPage, NotWellFormedUtf8GivesNoRecord) {
  EXPECT_FALSE(Parse(Page(TitleRow("A")) + "\xE6\x41\n"));
}

TEST_F(DetailPage, RowValues) {
  struct Case {
    const char* name;
    std::vector<std::string> rows;
    std::string TBase::*field;
    std::string expected; // UTF-8
  } cases[] = {
      {"title and its notes", TitleRow("入門〈2〉新装版"), &TBase::Title,
       "入門"},
      {"subtitle from the title's notes", TitleRow("入門〈2〉新装版"),
       &TBase::Subtitle, "新装版"},
      {"volume 第12巻",
       {"<th>巻冊次</th>", "<td>", "第12巻</td>"},
       &TBase::Volume,
       "12"},
      {"volume 上",
       {"<th>巻冊次</th>", "<td>", "上</td>"},
       &TBase::Volume,
       "上"},
      {"volume of 4 bytes is emptied",
       {"<th>巻冊次</th>", "<td>", "1234"},
       &TBase::Volume,
       ""},
      {"volume in full-width digits is emptied",
       {"<th>巻冊次</th>", "<td>", "第１２巻"},
       &TBase::Volume,
       ""},
      {"volume - is emptied",
       {"<th>巻冊次</th>", "<td>", "-"},
       &TBase::Volume,
       ""},
      {"volume - empties the title's volume",
       TitleRow("ABC 第3巻") +
           std::vector<std::string>{"<th>巻冊次</th>", "<td>", "-"},
       &TBase::Volume, ""},
      {"title reading",
       {"<th>書名ヨミ</th>", "<td> ニュウモン </td>"},
       &TBase::TitleReading,
       "ニュウモン"},
      {"title reading -",
       {"<th>書名ヨミ</th>", "<td>-</td>"},
       &TBase::TitleReading,
       ""},
      {"cover",
       {"<img src=\"/images/book/1.jpg\">"},
       &TBase::CoverUrl,
       kBase + "/images/book/1.jpg"},
      {"cover without src=",
       {"<img data=\"/images/book/1.jpg\">"},
       &TBase::CoverUrl,
       kBase},
      {"publisher",
       {"<th>出版元</th>", "<td>岩波書店</td>", "x"},
       &TBase::Publisher,
       "岩波書店"},
      {"publisher on the second line",
       {"<th>出版元</th>", "<td></td>", "<td> 岩波書店 </td>"},
       &TBase::Publisher,
       "岩波書店"},
      {"pages", {"<th>ページ数</th>", "<td>256p</td>"}, &TBase::Pages, "256"},
      {"pages pp. 12",
       {"<th>ページ数</th>", "<td>pp. 12</td>"},
       &TBase::Pages,
       ".12"},
      {"size", {"<th>大きさ</th>", "<td>Ｂ６ 判</td>"}, &TBase::BookSize, "B6"},
      {"date",
       {"<th>刊行年月</th>", "<td>2006.10</td>"},
       &TBase::PubMonth,
       "10"},
      {"description with line breaks",
       {"<div id=\"jsid-detailMainText\">", "\tOne<BR>two<br>three<br />."},
       &TBase::Description,
       "One\r\ntwo\r\nthree."},
      {"two description rows",
       {"<div id=\"jsid-detailMainText\">", "first",
        "<div id=\"jsid-detailMainText\">", "second"},
       &TBase::Description,
       "first\r\nsecond"},
      {"entities reach the value", TitleRow("&amp;lt;b&amp;gt;A&amp;quot;"),
       &TBase::Title, "A”"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearRecord();
    Book.Publisher = "before";
    std::vector<std::string> rows = c.rows;
    if (c.rows[0] != "<th>書名</th>")
      rows = TitleRow("T") + rows;
    EXPECT_TRUE(Parse(Page(rows)));
    EXPECT_EQ(SjisToUtf8(Book.*c.field), c.expected);
  }
}

TEST_F(DetailPage, PublisherBothLinesEmptyEmptiesTheDictionaryValue) {
  Book.Publisher = Sjis("辞書の出版社");
  EXPECT_TRUE(Parse(Page(
      TitleRow("T") +
      std::vector<std::string>{"<th>出版元</th>", "<td></td>", "<td></td>"})));
  EXPECT_EQ(Book.Publisher, "");
}

TEST_F(DetailPage, NoTitleRowKeepsTheRowsButDropsTheCode) {
  EXPECT_FALSE(Parse(Page({"<th>出版元</th>", "<td>岩波書店</td>", "x"})));
  EXPECT_EQ(SjisToUtf8(Book.Publisher), "岩波書店");
}

TEST_F(DetailPage, StopRequestEndsTheScan) {
  StopFlag = true;
  EXPECT_FALSE(Parse(Page(TitleRow("A"))));
  EXPECT_EQ(Book.Title, "");
}

TEST_F(DetailPage, SeriesBlock) {
  struct Case {
    const char* name;
    std::string title;
    std::vector<std::string> block; // lines i+2 onwards
    std::string series, newTitle, subtitle;
  } cases[] = {
      {"label then series: the title swap",
       "本",
       {"X文庫", "Y", "</td>"},
       "X文庫",
       "Y",
       "本"},
      {"series then label: the label swap",
       "本",
       {"A", "B文庫", "</td>"},
       "B文庫",
       "本",
       "A"},
      {"a line equal to the title is dropped",
       "本",
       {"本", "A", "</td>"},
       "A",
       "本",
       ""},
      {"a line holding the line before (by key) is dropped",
       "本",
       {"abc", "ＡＢＣ　２", "</td>"},
       "abc",
       "本",
       ""},
      {"the original title is dropped",
       "本",
       {"原タイトル: X", "A", "</td>"},
       "A",
       "本",
       ""},
      {"</td> on the first line gathers nothing",
       "本",
       {"</td>", "A"},
       "",
       "本",
       ""},
      {"<tr> ends the block", "本", {"A", "<tr>", "B"}, "A", "本", ""},
      {"blank lines are passed over",
       "本",
       {"  ", "<span> </span>", "A", "</td>"},
       "A",
       "本",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearRecord();
    Book.Series = "earlier";
    std::vector<std::string> rows =
        TitleRow(c.title) +
        std::vector<std::string>{"<th>シリーズ名</th>", "<td>"};
    rows = rows + c.block;
    EXPECT_TRUE(Parse(Page(rows)));
    EXPECT_EQ(SjisToUtf8(Book.Series), c.series);
    EXPECT_EQ(SjisToUtf8(Book.Title), c.newTitle);
    EXPECT_EQ(SjisToUtf8(Book.Subtitle), c.subtitle);
  }
}

TEST_F(DetailPage, AuthorsRowFillsAnEmptyStatement) {
  const std::vector<std::string> rows =
      TitleRow("T") +
      std::vector<std::string>{
          "<p class=\"p-C\"></p>",
          "<th>著作者名</th>",
          "<td>",
          "<a href=\"/tomefinder/authors/1\">山田  太郎</a>,",
          "<a href=\"/tomefinder/authors/2\">Smith, John [著]</a>",
          "</td>"};
  // The linked author pages cannot be downloaded here: the record keeps the
  // authors row, and the code is dropped.
  Host.HTTPDownloadFunc = NoDownload;
  EXPECT_FALSE(Parse(Page(rows)));
  Host.HTTPDownloadFunc = nullptr;
  EXPECT_EQ(SjisToUtf8(Book.Author1), "山田太郎");
  EXPECT_EQ(SjisToUtf8(Book.Author2), "SmithJohn［著］");
  EXPECT_EQ(Book.Author3, "");
}

TEST_F(DetailPage, AuthorsRowWithEvenIsLeftAlone) {
  const std::vector<std::string> rows =
      TitleRow("T") + std::vector<std::string>{
                          "<p class=\"p-C\"></p>", "<th>著作者名</th>", "<td>",
                          "<tr class=\"even\"><a href=\"/a/1\">山田</a>"};
  EXPECT_TRUE(Parse(Page(rows)));
  EXPECT_EQ(Book.Author1, "");
}

TEST_F(DetailPage, StatementRowsAddPersonsUntilTheListIsFull) {
  using Lines = std::vector<std::string>;
  const Lines twoRows = {"<p class=\"p-C\">甲 著</p>",
                         "<p class=\"p-C\">乙 著</p>"};
  EXPECT_TRUE(Parse(Page(twoRows + TitleRow("A"))));
  EXPECT_EQ(SjisToUtf8(Book.Author1), "甲");
  EXPECT_EQ(SjisToUtf8(Book.Author2), "乙");
  // A statement row after kMaxPersons persons is not read.
  std::string many;
  for (size_t i = 0; i < kMaxPersons; ++i)
    many += "p" + std::to_string(i) + " ; ";
  const Lines fullThenOne = {"<p class=\"p-C\">" + many + "</p>",
                             "<p class=\"p-C\">q 著</p>"};
  ClearRecord();
  EXPECT_TRUE(Parse(Page(fullThenOne + TitleRow("A"))));
  EXPECT_TRUE(Book.Author3.ends_with("p" + std::to_string(kMaxPersons - 1)));
  EXPECT_FALSE(Contains(Book.Author3, "q"));
}
