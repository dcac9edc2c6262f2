// The dictionary files: the key form, the search, the fields and the loads.
#include "names_fixture.h"

#include "plugin/driver.h"

#include <filesystem>
#include <fstream>

namespace {

// Writes the file whole, in place (the same file, not a new one).
void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The dictionary text of lines (UTF-8): each followed by CR LF.
std::string TextOf(const std::vector<std::string>& lines) {
  return DictionaryFile(lines, "\r\n");
}

} // namespace

TEST(DictionaryKey, KeyForm) {
  const struct {
    std::string text, key; // UTF-8
  } cases[] = {
      {"ジョン・スミス", "ｼﾞｮﾝｽﾐｽ"},
      {"ニコラス", "二ｺﾗｽ"},
      {"スーパー☆文庫", "ｽ-ﾊﾟ-文庫"},
      {"ＡＢＣ文庫", "ABC文庫"},
      {"山田　太郎", "山田太郎"},
      {"★山田♪ 太郎", "山田太郎"},
      {"ジョン・スミス [訳]", "ｼﾞｮﾝｽﾐｽ[訳]"},
      {"ＡＢＣ ＢＵＮＫＯ", "ABCBUNKO"},
      {"abc", "abc"}, // case is not folded
      {"やまだ", "やまだ"},
      {"\t山田\x01", "山田"},
      // 寛 ends in the byte of the half-width ｰ: only a whole ｰ is "-".
      {"寛ー", "寛-"},
      // Only the full-width ニ is the kanji; a half-width ﾆ stays.
      {"ﾆｺ", "ﾆｺ"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Hex(DictionaryKey(Sjis(c.text))), Hex(Sjis(c.key))) << c.text;
}

TEST(DictionaryKey, LongTextIsKeyedWhole) {
  // 300 bytes once half-width: beyond the 255 of a fixed 256-byte buffer.
  std::string text, key;
  for (int i = 0; i < 300; ++i) {
    text += "ア";
    key += "ｱ";
  }
  EXPECT_EQ(DictionaryKey(Sjis(text)), Sjis(key));
}

TEST(FindEntry, FirstOccurrenceAnywhere) {
  const struct {
    const char* what;
    std::vector<std::string> lines;
    std::string key, endMarker;
    bool found;
    std::string value; // UTF-8
  } cases[] = {
      {"author line",
       {"|山田太郎|山田 太郎|ヤマダ タロウ|漫画家|"},
       "|山田太郎|",
       "|\r\n",
       true,
       "山田 太郎|ヤマダ タロウ|漫画家"},
      {"lands in an earlier line where a reading equals the key",
       {"|鈴木|鈴木花子|山田|注|", "|山田|山田太郎|ヤマダ||"},
       "|山田|",
       "|\r\n",
       true,
       "注"},
      {"no closing bar: runs on to the next line that ends with one",
       {"|山田|山田太郎|ヤマダ", "|鈴木|鈴木花子|スズキ|", "|佐藤|x|"},
       "|山田|",
       "|\r\n",
       true,
       "山田太郎|ヤマダ\r\n|鈴木|鈴木花子|スズキ"},
      {"no closing bar anywhere after: the rest of the text",
       {"|山田|山田太郎|ヤマダ", "abc"},
       "|山田|",
       "|\r\n",
       true,
       "山田太郎|ヤマダ\r\nabc\r\n"},
      {"publisher: the rest of the line, a trailing bar included",
       {"|4000|見本出版|", "|4001|他社"},
       "|4000|",
       "\r\n",
       true,
       "見本出版|"},
      {"not only at the start of a line",
       {"x|12|見本"},
       "|12|",
       "\r\n",
       true,
       "見本"},
      // ポ's second byte is the byte of "|".
      {"inside a double-byte character",
       {"ポA|ポスト"},
       "|A|",
       "\r\n",
       true,
       "ポスト"},
      {"absent", {"|山田太郎|x|y|z|"}, "|山田|", "|\r\n", false, "untouched"},
      {"case-sensitive", {"|abc|x"}, "|ABC|", "\r\n", false, "untouched"},
      {"empty dictionary", {}, "|A|", "\r\n", false, "untouched"},
  };
  for (const auto& c : cases) {
    std::string value = "untouched";
    EXPECT_EQ(FindEntry(TextOf(c.lines), Sjis(c.key), c.endMarker, value),
              c.found)
        << c.what;
    EXPECT_EQ(SjisToUtf8(value), c.value) << c.what;
  }
}

TEST(FieldAt, BarsAsWholeCharacters) {
  const struct {
    std::string value;
    int n;
    std::string field;
  } cases[] = {
      {"a|b|c", 1, "a"}, {"a|b|c", 2, "b"},   {"a|b|c", 3, "c"},
      {"a|b|c", 4, ""},  {"a|b|c|d", 3, "c"}, {"a|b", 3, ""},
      {"a", 1, "a"},     {"a", 2, ""},        {"", 1, ""},
      {"|b", 1, ""},     {"|b", 2, "b"},      {"a||c", 3, "c"},
      {"ポ|x", 1, "ポ"}, {"ポ|x", 2, "x"},    {"ポスト", 1, "ポスト"},
      {"ポスト", 2, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SjisToUtf8(FieldAt(Sjis(c.value), c.n)), c.field)
        << c.value << " field " << c.n;
}

TEST_F(NamesTest, EveryLineEndIsRead) {
  const std::vector<std::string> lines = {"|山田|山田太郎|ヤマダ|注|",
                                          "|鈴木|鈴木花子|スズキ||", "",
                                          "|見本出版|ABC|ABC文庫"};
  StringList expected;
  for (const std::string& line : lines)
    expected.push_back(Sjis(line));
  for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(Hex(lineEnd));
    dir.Write("AuthDB.dat", DictionaryFile(lines, lineEnd));
    dir.Write("LabelsDB.dat", DictionaryFile(lines, lineEnd));
    LoadAuthorDictionary(DataDir());
    LoadLabelDictionary(DataDir());
    EXPECT_EQ(SplitLines(AuthorSearchText()), expected);
    EXPECT_EQ(SplitLines(LabelSearchText()), expected);
    EXPECT_EQ(AuthorSearchText(), TextOf(lines));
    EXPECT_EQ(LabelSearchText(), TextOf(lines));
  }
  // The last line needs no line end.
  dir.Write("AuthDB.dat", Sjis("|山田|a\n|鈴木|b"));
  LoadAuthorDictionary(DataDir());
  EXPECT_EQ(AuthorSearchText(), TextOf({"|山田|a", "|鈴木|b"}));
}

TEST_F(NamesTest, MissingOrEmptyFileIsAnEmptyDictionary) {
  dir.Write("AuthDB.dat", Sjis("|山田|a|b|c|\r\n"));
  dir.Write("LabelsDB.dat", Sjis("|見本|x|y\r\n"));
  LoadAuthorDictionary(DataDir());
  LoadLabelDictionary(DataDir());
  ASSERT_EQ(SplitLines(AuthorSearchText()).size(), 1u);
  ASSERT_EQ(SplitLines(LabelSearchText()).size(), 1u);
  // Each load replaces the copy of the code before.
  dir.Write("AuthDB.dat", "");
  std::filesystem::remove(dir.File("LabelsDB.dat"));
  LoadAuthorDictionary(DataDir());
  LoadLabelDictionary(DataDir());
  EXPECT_EQ(AuthorSearchText(), "");
  EXPECT_EQ(LabelSearchText(), "");
}

TEST_F(NamesTest, ReleaseEmptiesBothDictionaries) {
  dir.Write("AuthDB.dat", Sjis("|山田|a|b|c|\r\n"));
  dir.Write("LabelsDB.dat", Sjis("|見本|x|y\r\n"));
  LoadAuthorDictionary(DataDir());
  LoadLabelDictionary(DataDir());
  ReleaseAuthorDictionary();
  ReleaseLabelDictionary();
  EXPECT_EQ(AuthorSearchText(), "");
  EXPECT_EQ(LabelSearchText(), "");
}

TEST_F(NamesTest, FileThatCannotBeReadEndsTheRun) {
  const struct {
    const char* file;
    void (*load)(const std::string&);
  } cases[] = {{"AuthDB.dat", LoadAuthorDictionary},
               {"LabelsDB.dat", LoadLabelDictionary},
               {"PubDB.dat", LookupPublisher}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    // A directory in the file's place exists but cannot be read.
    std::filesystem::create_directory(dir.File(c.file));
    Book.Isbn = "9784000000024";
    try {
      c.load(DataDir());
      ADD_FAILURE() << "no RunError";
    } catch (const RunError& error) {
      EXPECT_EQ(SjisToUtf8(error.what()),
                "辞書ファイルを読み込めませんでした。" + DataDir() + c.file);
    }
  }
}

// A load for every code keeps the dictionary read for an earlier code only
// while the file is as it was: every kind of edit takes effect at the next
// load, also one that keeps the size and puts the modification time back.
TEST_F(NamesTest, AnEditTakesEffectAtTheNextLoad) {
  namespace fs = std::filesystem;
  const struct {
    const char* file;
    void (*load)(const std::string&);
    const std::string& (*text)();
  } dictionaries[] = {
      {"AuthDB.dat", LoadAuthorDictionary, AuthorSearchText},
      {"LabelsDB.dat", LoadLabelDictionary, LabelSearchText},
      {"PubDB.dat", LoadPublisherDictionary, PublisherSearchText}};
  const std::string before = Sjis("|山田|山田太郎|ヤマダ||\r\n");
  const std::string same = Sjis("|山田|山田次郎|ヤマダ||\r\n");
  const struct {
    const char* name;
    void (*edit)(const std::string& path, const std::string& bytes);
    std::string bytes; // what the edit writes
    std::string text;  // the search text after it
  } edits[] = {
      {"the same size, the time stamp put back",
       [](const std::string& path, const std::string& bytes) {
         const auto time = fs::last_write_time(path);
         WriteBytes(path, bytes);
         fs::last_write_time(path, time);
       },
       same, same},
      {"replaced by a file of the same size and time stamp",
       [](const std::string& path, const std::string& bytes) {
         const auto time = fs::last_write_time(path);
         WriteBytes(path + ".new", bytes);
         fs::last_write_time(path + ".new", time);
         fs::rename(path + ".new", path);
       },
       same, same},
      {"longer, with LF line ends",
       [](const std::string& path, const std::string& bytes) {
         WriteBytes(path, bytes);
       },
       Sjis("|山田|山田太郎|ヤマダ||\n|鈴木|鈴木花子|スズキ||"),
       Sjis("|山田|山田太郎|ヤマダ||\r\n|鈴木|鈴木花子|スズキ||\r\n")},
      {"emptied",
       [](const std::string& path, const std::string& bytes) {
         WriteBytes(path, bytes);
       },
       "", ""},
      {"removed",
       [](const std::string& path, const std::string&) { fs::remove(path); },
       "", ""},
      {"not touched", [](const std::string&, const std::string&) {}, "",
       before},
  };
  for (const auto& dictionary : dictionaries) {
    for (const auto& edit : edits) {
      SCOPED_TRACE(std::string(dictionary.file) + ": " + edit.name);
      const std::string path = dir.Write(dictionary.file, before);
      dictionary.load(DataDir());
      ASSERT_EQ(SjisToUtf8(dictionary.text()), SjisToUtf8(before));
      edit.edit(path, edit.bytes);
      dictionary.load(DataDir());
      EXPECT_EQ(SjisToUtf8(dictionary.text()), SjisToUtf8(edit.text));
      fs::remove(path);
    }
    // A file that cannot be read any more ends the run, and nothing of the
    // dictionary read before stays.
    const std::string path = dir.Write(dictionary.file, before);
    dictionary.load(DataDir());
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_THROW(dictionary.load(DataDir()), RunError);
    EXPECT_EQ(dictionary.text(), "");
    fs::remove(path);
  }
}

// The index answers as the byte search over the whole text does: the
// first occurrence anywhere, also inside another field or another line's
// value, for keys of one field (authors, publishers) and of two (labels).
TEST_F(NamesTest, IndexedLookupsFindTheFirstOccurrence) {
  const std::vector<std::string> lines = {
      "|佐藤|佐藤一郎|サトウ|山田|", // the key 山田 first stands as a note
      "|山田|山田太郎|ヤマダ||",
      "|見本|ABC|ABC文庫",
      "|見本|ABC|別の文庫",
      "|ポ|ポスト|ポ||", // "ポ" ends with the byte of "|"
      "|前|後",
      "|",
      "||",
  };
  dir.Write("AuthDB.dat", DictionaryFile(lines));
  dir.Write("LabelsDB.dat", DictionaryFile(lines));
  dir.Write("PubDB.dat", DictionaryFile(lines));
  LoadAuthorDictionary(DataDir());
  LoadLabelDictionary(DataDir());
  LoadPublisherDictionary(DataDir());
  const std::string text = TextOf(lines);
  const char* keys[] = {
      "|山田|", "|佐藤|",   "|見本|ABC|", "|ABC|",           "|見本|",
      "|ポ|",   "|ポスト|", "||",         "|ABC文庫\r\n",    "|前|後|",
      "|無い|", "|",        "ABC",        "|佐藤|佐藤一郎|", "|\r\n|"};
  for (const char* utf8 : keys) {
    const std::string key = Sjis(utf8);
    SCOPED_TRACE(utf8);
    for (const char* end : {"|\r\n", "\r\n"}) {
      std::string expected = "<none>";
      std::string author = "<none>", label = "<none>", publisher = "<none>";
      FindEntry(text, key, end, expected);
      FindAuthorEntry(key, end, author);
      FindLabelEntry(key, end, label);
      FindPublisherEntry(key, end, publisher);
      EXPECT_EQ(SjisToUtf8(author), SjisToUtf8(expected));
      EXPECT_EQ(SjisToUtf8(label), SjisToUtf8(expected));
      EXPECT_EQ(SjisToUtf8(publisher), SjisToUtf8(expected));
    }
  }
}
