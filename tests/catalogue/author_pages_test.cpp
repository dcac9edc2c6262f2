#include "catalogue/detail_page.h"
#include "common/host.h"
#include "common/record.h"
#include "platform/platform.h"
#include "plugin/driver.h"
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

// The catalogue as the fake download service sees it: UTF-8 pages by
// address, and the addresses whose download leaves no file.
struct FakeCatalogue {
  std::map<std::string, std::string> pages;
  std::set<std::string> missing;
  std::vector<std::string> asked;
  std::vector<std::string> localPaths;
};

FakeCatalogue* Catalogue = nullptr;

TfBool TF_API FakeDownload(const char* localPath, const char* address) {
  Catalogue->asked.push_back(address);
  Catalogue->localPaths.push_back(localPath);
  if (Catalogue->missing.count(address)) {
    DeleteFileAt(localPath);
    return 0;
  }
  auto page = Catalogue->pages.find(address);
  if (page == Catalogue->pages.end())
    return 0;
  return WriteWholeFile(localPath, page->second) ? 1 : 0;
}

// One row of an author page: the label line, a line between, and the value
// two lines below the label.
std::string Row(const std::string& label, const std::string& value) {
  return "<tr><th>" + label + "</th>\n<td>\n<td>" + value + "</td></tr>\n";
}

std::string Page(const std::string& rows) {
  return "<html>\n<body>\n<table>\n" + rows + "</table>\n</body>\n</html>\n";
}

std::string ReadingPage(const std::string& reading) {
  return Page(Row("人物名ヨミ", reading));
}

std::string LifePage(const std::string& reading, const std::string& born,
                     const std::string& died) {
  return Page(Row("人物名ヨミ", reading) + Row("生年", born) +
              Row("没年", died));
}

const std::string A1 = "http://tf.example/author/1";
const std::string A2 = "http://tf.example/author/2";
const std::string A3 = "http://tf.example/author/3";

struct Link {
  std::string address, text;
};

// Texts are readable UTF-8; the stage gets them in code page 932.
struct Case {
  const char* name;
  bool notesMode = false;
  std::vector<std::string> authors = {};
  std::vector<std::string> readings = {};
  std::string note = {}; // also the record's note, as the statement left it
  std::vector<Link> links = {};
  std::map<std::string, std::string> pages = {};
  std::set<std::string> missing = {};
  bool ok = true;
  std::string reading1 = {}, reading2 = {}, noteAfter = {};
  // The addresses downloaded; every link address in order when not given.
  std::optional<std::vector<std::string>> asked = {};
};

const Case kCases[] = {
    // Matching by name.
    {.name = "no links: the statement readings, nothing downloaded",
     .authors = {"山田太郎", "鈴木花子"},
     .readings = {"ﾔﾏﾀﾞ ﾀﾛｳ", ""},
     .reading1 = "ﾔﾏﾀﾞ ﾀﾛｳ",
     .reading2 = "",
     .asked = std::vector<std::string>{}},
    {.name = "spaces of the statement name are ignored",
     .authors = {"山田 太郎"},
     .links = {{A1, "山田太郎"}, {A2, "鈴木"}},
     .pages = {{A1, ReadingPage("ヤマダ タロウ")}, {A2, ReadingPage("スズキ")}},
     .reading1 = "ﾔﾏﾀﾞ ﾀﾛｳ"},
    {.name = "a statement reading wins over the matched page",
     .authors = {"山田太郎"},
     .readings = {"ﾔﾏﾀﾞ"},
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, ReadingPage("ヤマダ タロウ")}},
     .reading1 = "ﾔﾏﾀﾞ"},
    {.name = "each author takes the first link found in the name",
     .authors = {"山田太郎", "鈴木花子"},
     .links = {{A1, "鈴木花子"}, {A2, "山田太郎"}},
     .pages = {{A1, ReadingPage("スズキ ハナコ")},
               {A2, ReadingPage("ヤマダ タロウ")}},
     .reading1 = "ﾔﾏﾀﾞ ﾀﾛｳ",
     .reading2 = "ｽｽﾞｷ ﾊﾅｺ"},
    {.name = "without a first author the second is not looked at",
     .authors = {"", "鈴木花子"},
     .readings = {"", "ｽｽﾞｷ"},
     .links = {{A1, "鈴木花子"}},
     .pages = {{A1, ReadingPage("スズキ ハナコ")}},
     .reading1 = "",
     .reading2 = ""},
    {.name = "a used link matches the second author too",
     .authors = {"山田太郎", "山田花子"},
     .links = {{A1, "山田"}},
     .pages = {{A1, ReadingPage("ヤマダ")}},
     .reading1 = "ﾔﾏﾀﾞ",
     .reading2 = "ﾔﾏﾀﾞ"},

    // The width rule: 5 * full-width length > 9 * length.
    {.name = "a Latin name is its own reading",
     .authors = {"Smith"},
     .links = {{A1, "Smith"}},
     .pages = {{A1, ReadingPage("スミス")}},
     .reading1 = "Smith"},
    {.name = "a kanji name keeps the page reading",
     .authors = {"山田太郎"},
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, ReadingPage("ヤマダタロウ")}},
     .reading1 = "ﾔﾏﾀﾞﾀﾛｳ"},
    {.name = "one kanji and eight letters: 18 is not more than 18",
     .authors = {"林Johnsons"},
     .links = {{A1, "林Johnsons"}},
     .pages = {{A1, ReadingPage("ハヤシ")}},
     .reading1 = "ﾊﾔｼ"},
    {.name = "ten letters: 20 is more than 18",
     .authors = {"Richardson"},
     .links = {{A1, "Richardson"}},
     .pages = {{A1, ReadingPage("リチャードソン")}},
     .reading1 = "Richardson"},
    {.name = "a page reading that is the name in another width stays",
     .authors = {"ABCDEFGHIＪ"},
     .links = {{A1, "ABCDEFGHIＪ"}},
     .pages = {{A1, ReadingPage("ＡＢＣＤＥＦＧＨＩＪ")}},
     .reading1 = "ABCDEFGHIJ"},
    {.name = "a Latin name replaces a \"-\" reading",
     .authors = {"Smith"},
     .links = {{A1, "Smith"}},
     .pages = {{A1, ReadingPage("-")}},
     .reading1 = "Smith"},
    {.name = "a kanji name keeps a \"-\" reading",
     .authors = {"山田太郎"},
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, ReadingPage("-")}},
     .reading1 = "-"},

    // Reading the page.
    {.name = "a later row wins; labels on the last two lines are passed over",
     .authors = {"山田太郎"},
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, Row("人物名ヨミ", "ヤマダ") +
                        Row("人物名ヨミ", "ヤマダ タロウ") +
                        "<th>人物名ヨミ</th>\n<th>人物名ヨミ</th>\n"}},
     .reading1 = "ﾔﾏﾀﾞ ﾀﾛｳ"},
    {.name = "the reading is not trimmed",
     .authors = {"山田太郎"},
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, ReadingPage(" ヤマダ ")}},
     .reading1 = " ﾔﾏﾀﾞ "},
    {.name = "a page that is not well-formed UTF-8 gives nothing",
     .notesMode = true,
     .authors = {"山田太郎"},
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, LifePage("ヤマダ", "1900", "1980") + "\xE3\x81"}},
     .reading1 = "",
     .noteAfter = "～"},

    // The first author's note.
    {.name = "notes: a birth year and no death year",
     .notesMode = true,
     .authors = {"山田太郎"},
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, LifePage("ヤマダ", "1900", "-")}},
     .reading1 = "ﾔﾏﾀﾞ",
     .noteAfter = "1900～"},
    {.name = "notes: neither year known",
     .notesMode = true,
     .authors = {"山田太郎"},
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, LifePage("ヤマダ", "-", "-")}},
     .reading1 = "ﾔﾏﾀﾞ",
     .noteAfter = "不明～"},
    {.name = "notes: the statement's note is kept",
     .notesMode = true,
     .authors = {"山田太郎"},
     .note = "筆名",
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, LifePage("ヤマダ", "1900", "1980")}},
     .reading1 = "ﾔﾏﾀﾞ",
     .noteAfter = "筆名"},
    {.name = "notes off: the note is emptied",
     .authors = {"山田太郎"},
     .note = "筆名",
     .links = {{A1, "山田太郎"}},
     .pages = {{A1, LifePage("ヤマダ", "1900", "1980")}},
     .reading1 = "ﾔﾏﾀﾞ",
     .noteAfter = ""},
    {.name = "notes: the second author's years are not taken",
     .notesMode = true,
     .authors = {"山田太郎", "鈴木花子"},
     .links = {{A1, "鈴木花子"}},
     .pages = {{A1, LifePage("スズキ", "1950", "2000")}},
     .reading1 = "",
     .reading2 = "ｽｽﾞｷ",
     .noteAfter = ""},

    // The second pass, for authors no link matched.
    {.name = "unmatched authors collect every unused reading",
     .notesMode = true,
     .authors = {"佐藤一郎", "田中次郎"},
     .links = {{A1, "山田"}, {A2, "鈴木"}},
     .pages = {{A1, LifePage("ヤマダ", "1900", "1980")},
               {A2, LifePage("スズキ", "1910", "-")}},
     .reading1 = "ﾔﾏﾀﾞ-ｽｽﾞｷ",
     .reading2 = "ﾔﾏﾀﾞ-ｽｽﾞｷ",
     .noteAfter = "1900～1980"},
    {.name = "the second pass passes over used links and empty readings",
     .authors = {"山田太郎", "佐藤一郎"},
     .links = {{A1, "山田"}, {A2, "鈴木"}, {A3, "高橋"}},
     .pages = {{A1, ReadingPage("ヤマダ")},
               {A2, ReadingPage("スズキ")},
               {A3, Page(Row("生年", "1900"))}},
     .reading1 = "ﾔﾏﾀﾞ",
     .reading2 = "ｽｽﾞｷ"},
    {.name = "an unmatched author keeps the statement reading",
     .authors = {"佐藤一郎"},
     .readings = {"ｻﾄｳ"},
     .links = {{A1, "山田"}},
     .pages = {{A1, ReadingPage("ヤマダ")}},
     .reading1 = "ｻﾄｳ"},

    // Failure.
    {.name = "a missing second page fails before anything is written",
     .notesMode = true,
     .authors = {"山田太郎", "鈴木花子"},
     .readings = {"ﾔﾏﾀﾞ", "ｽｽﾞｷ"},
     .note = "筆名",
     .links = {{A1, "山田太郎"}, {A2, "鈴木花子"}, {A3, "高橋"}},
     .pages = {{A1, ReadingPage("ヤマダ")}, {A3, ReadingPage("タカハシ")}},
     .missing = {A2},
     .ok = false,
     .asked = std::vector<std::string>{A1, A2}},
};

class AuthorPageStage : public ::testing::Test {
protected:
  void SetUp() override {
    savedDownload = Host.HTTPDownloadFunc;
    savedDataDir = DataDir;
    Host.HTTPDownloadFunc = FakeDownload;
    DataDir = dir.Path() + "/";
    Catalogue = &catalogue;
  }
  void TearDown() override {
    Host.HTTPDownloadFunc = savedDownload;
    DataDir = savedDataDir;
    Catalogue = nullptr;
    ClearRecord();
  }

  TempDir dir;
  FakeCatalogue catalogue;
  THTTPDownloadFunc savedDownload = nullptr;
  std::string savedDataDir;
};

AuthorStage StageOf(const Case& c) {
  AuthorStage stage;
  stage.notesMode = c.notesMode;
  for (size_t i = 0; i < c.authors.size(); ++i)
    stage.authors[i] = Sjis(c.authors[i]);
  for (size_t i = 0; i < c.readings.size(); ++i)
    stage.readings[i] = Sjis(c.readings[i]);
  stage.note = Sjis(c.note);
  for (size_t k = 0; k < c.links.size(); ++k)
    stage.links[k] = {c.links[k].address, Sjis(c.links[k].text)};
  return stage;
}

std::vector<std::string> LinkAddresses(const Case& c) {
  std::vector<std::string> addresses;
  for (const Link& link : c.links)
    if (!link.address.empty())
      addresses.push_back(link.address);
  return addresses;
}

TEST_F(AuthorPageStage, DecidesReadingsAndNote) {
  const std::string scratch = dir.Path() + "/Temp.html";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    catalogue = {c.pages, c.missing, {}, {}};
    // The detail page is still in the scratch file when the stage starts.
    ASSERT_TRUE(WriteWholeFile(scratch, "<html>detail</html>\n"));
    ClearRecord();
    Book.Author1Reading = "before 1";
    Book.Author2Reading = "before 2";
    Book.Author1Note = Sjis(c.note);

    bool ok = RunAuthorPageStage(StageOf(c));

    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(catalogue.asked, c.asked.value_or(LinkAddresses(c)));
    for (const std::string& path : catalogue.localPaths)
      EXPECT_EQ(path, scratch);
    if (!c.ok) {
      EXPECT_EQ(Book.Author1Reading, "before 1");
      EXPECT_EQ(Book.Author2Reading, "before 2");
      EXPECT_EQ(SjisToUtf8(Book.Author1Note), c.note);
      continue;
    }
    EXPECT_EQ(SjisToUtf8(Book.Author1Reading), c.reading1);
    EXPECT_EQ(SjisToUtf8(Book.Author2Reading), c.reading2);
    EXPECT_EQ(SjisToUtf8(Book.Author1Note), c.noteAfter);
  }
}

} // namespace
