// The names placed into the record: publisher, authors and series label.
#include "names_fixture.h"

#include <filesystem>

TEST_F(NamesTest, LookupPublisherByPrefix) {
  dir.Write("PubDB.dat",
            DictionaryFile({"|0001|長い出版", "|00|短い出版", "|41|四一出版",
                            "|1|一出版", "|55555|五出版|", "||空の行"}));
  const struct {
    std::string isbn, before, publisher; // UTF-8
  } cases[] = {
      // The shortest prefix found wins, wherever its line stands.
      {"9784000123456", "", "短い出版"},
      {"4000123456", "", "短い出版"},
      // 978/979 and the group digit are not looked at.
      {"9790410000000", "", "四一出版"},
      {"4410000000", "", "四一出版"},
      {"9784555551234", "", "五出版|"},
      // A short code gives shorter prefixes, and none when it ends first.
      {"97841", "", "一出版"},
      {"9784", "", ""},
      {"4", "", ""},
      // Other first characters are not looked up.
      {"1000123456", "", ""},
      {"B000000001", "", ""},
      {"", "", ""},
      // Not found: the field keeps its value.
      {"9784999999999", "前の値", "前の値"},
  };
  for (const auto& c : cases) {
    ClearRecord();
    Book.Isbn = c.isbn;
    Book.Publisher = Sjis(c.before);
    LookupPublisher(DataDir());
    EXPECT_EQ(SjisToUtf8(Book.Publisher), c.publisher) << c.isbn;
  }
}

TEST_F(NamesTest, LookupPublisherWithoutTheFile) {
  Book.Isbn = "9784000123456";
  LookupPublisher(DataDir());
  EXPECT_EQ(Book.Publisher, "");
  dir.Write("PubDB.dat", "");
  LookupPublisher(DataDir());
  EXPECT_EQ(Book.Publisher, "");
}

TEST_F(NamesTest, FinaliseAuthorsWorkedThrough) {
  dir.Write(
      "AuthDB.dat",
      DictionaryFile({"|山田太郎|山田 太郎|ヤマダ タロウ|漫画家|",
                      "|ｼﾞｮﾝｽﾐｽ[訳]|ジョン・スミス [訳]|スミス ジョン||"}));
  LoadAuthorDictionary(DataDir());
  SplitAuthorStatement(
      Sjis("山田太郎 著 ; ジョン・スミス 訳 ; 鈴木花子 監修 ; 佐藤次郎 解説"),
      ";");
  EXPECT_EQ(PersonList,
            (StringList{Sjis("山田太郎"), Sjis("ジョン・スミス [訳]"),
                        Sjis("鈴木花子 [監修]"), Sjis("佐藤次郎 [解説]")}))
      << Readable(PersonList);
  FinaliseAuthors();
  EXPECT_EQ(SjisToUtf8(Book.Author1), "山田 太郎");
  EXPECT_EQ(SjisToUtf8(Book.Author1Reading), "ヤマダ タロウ");
  EXPECT_EQ(SjisToUtf8(Book.Author1Note), "漫画家");
  EXPECT_EQ(SjisToUtf8(Book.Author2), "ジョン・スミス [訳]");
  EXPECT_EQ(SjisToUtf8(Book.Author2Reading), "スミス ジョン");
  EXPECT_EQ(SjisToUtf8(Book.Author3), "鈴木花子 [監修]\r\n佐藤次郎 [解説]");
}

TEST_F(NamesTest, FinaliseAuthorsPlacement) {
  const struct {
    const char* what;
    std::vector<std::string> dictionary; // lines of AuthDB.dat
    std::vector<std::string> persons;    // PersonList
    std::string author1, reading1, note1, author2, reading2, author3;
  } cases[] = {
      {"a name inside an earlier one is a duplicate",
       {},
       {"山田太郎", "山田"},
       "山田太郎",
       "",
       "",
       "",
       "",
       ""},
      {"the other order keeps both",
       {},
       {"山田", "山田太郎"},
       "山田",
       "",
       "",
       "山田太郎",
       "",
       ""},
      {"two entries the dictionary maps to one name",
       {"|山田|山田太郎|ヤマダ||", "|ﾔﾏﾀﾞ|山田太郎|ヤマダ2||"},
       {"山田", "ヤマダ"},
       "山田太郎",
       "ヤマダ",
       "",
       "",
       "",
       ""},
      {"a person not in the dictionary gets nothing of the one before",
       {"|山田|山田太郎|ヤマダ タロウ|注|"},
       {"山田", "鈴木花子"},
       "山田太郎",
       "ヤマダ タロウ",
       "注",
       "鈴木花子",
       "",
       ""},
      {"the bracket reading only when the dictionary has none",
       {"|山田|山田太郎|ヤマダ||", "|鈴木|鈴木花子|||"},
       {"山田［ヨミ］", "鈴木［スズキ］"},
       "山田太郎",
       "ヤマダ",
       "",
       "鈴木花子",
       "スズキ",
       ""},
      {"the space before the bracket stays in the name",
       {"|他人|x|y|z|"},
       {"山田太郎 ［ヤマダ タロウ］"},
       "山田太郎 ",
       "ヤマダ タロウ",
       "",
       "",
       "",
       ""},
      {"the key ignores that space",
       {"|山田太郎|山田 太郎|||"},
       {"山田太郎 ［ヤマダ タロウ］"},
       "山田 太郎",
       "ヤマダ タロウ",
       "",
       "",
       "",
       ""},
      {"a role tag after the bracket goes with it",
       {},
       {"山田太郎 ［ヤマダ タロウ］ [訳]"},
       "山田太郎 ",
       "ヤマダ タロウ",
       "",
       "",
       "",
       ""},
      {"an unclosed bracket reads to the end",
       {},
       {"山田太郎［ヤマダ"},
       "山田太郎",
       "ヤマダ",
       "",
       "",
       "",
       ""},
      // 梶 ends in the byte of "［"'s first half, "m" is its second.
      {"no bracket inside a double-byte character",
       {},
       {"梶mika", "佐藤"},
       "梶mika",
       "",
       "",
       "佐藤",
       "",
       ""},
      {"an empty name leaves its slot to the next person",
       {"|空||ヨミ|注|"},
       {"空", "鈴木花子"},
       "鈴木花子",
       "",
       "",
       "",
       "",
       ""},
      {"an empty name in the second slot keeps its reading until replaced",
       {"|空||ヨミ|注|"},
       {"山田", "空"},
       "山田",
       "",
       "",
       "",
       "ヨミ",
       ""},
      {"an empty name later is an empty line inside Author3",
       {"|空||ヨミ|注|"},
       {"山田", "鈴木", "佐藤", "空", "田中"},
       "山田",
       "",
       "",
       "鈴木",
       "",
       "佐藤\r\n\r\n田中"},
      {"the third and later in statement order, duplicates skipped",
       {},
       {"山田", "鈴木", "佐藤", "田中", "佐藤", "高橋"},
       "山田",
       "",
       "",
       "鈴木",
       "",
       "佐藤\r\n田中\r\n高橋"},
      {"role tags stay with the name",
       {},
       {"鈴木花子 [監修]", "山田太郎[編著]"},
       "鈴木花子 [監修]",
       "",
       "",
       "山田太郎[編著]",
       "",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    if (!c.dictionary.empty())
      dir.Write("AuthDB.dat", DictionaryFile(c.dictionary));
    else
      std::filesystem::remove(dir.File("AuthDB.dat"));
    LoadAuthorDictionary(DataDir());
    for (const std::string& person : c.persons)
      PersonList.push_back(Sjis(person));
    FinaliseAuthors();
    EXPECT_EQ(SjisToUtf8(Book.Author1), c.author1);
    EXPECT_EQ(SjisToUtf8(Book.Author1Reading), c.reading1);
    EXPECT_EQ(SjisToUtf8(Book.Author1Note), c.note1);
    EXPECT_EQ(SjisToUtf8(Book.Author2), c.author2);
    EXPECT_EQ(SjisToUtf8(Book.Author2Reading), c.reading2);
    EXPECT_EQ(SjisToUtf8(Book.Author3), c.author3);
  }
}

TEST_F(NamesTest, FinaliseAuthorsTrimsAuthor3AlsoWithoutPersons) {
  Book.Author3 = " x \r\n";
  FinaliseAuthors();
  EXPECT_EQ(Book.Author3, "x");
}

TEST_F(NamesTest, NormaliseSeriesLabel) {
  dir.Write(
      "LabelsDB.dat",
      DictionaryFile({"|見本出版|ABCBUNKO|ABC文庫", "|見本出版||見本の本",
                      "|他社|ABCBUNKO|他社文庫|", "|ABC出版|X|エックス"}));
  LoadLabelDictionary(DataDir());
  const struct {
    std::string publisher, series, expected; // UTF-8
  } cases[] = {
      {"見本出版", "ＡＢＣ ＢＵＮＫＯ", "ABC文庫"},
      {"見本出版", "ABCBUNKO", "ABC文庫"},
      // An empty series takes the line with the empty series key.
      {"見本出版", "", "見本の本"},
      {"他社", "ABCBUNKO", "他社文庫|"},
      // The publisher is compared exactly, not in the key form.
      {"見本出版社", "ABCBUNKO", "ABCBUNKO"},
      {"ＡＢＣ出版", "X", "X"},
      {"見本出版", "XYZ", "XYZ"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    ClearRecord();
    Book.Publisher = Sjis(c.publisher);
    Book.Series = Sjis(c.series);
    NormaliseSeriesLabel();
    EXPECT_EQ(SjisToUtf8(Book.Series), c.expected)
        << c.publisher << " / " << c.series;
  }
}

TEST_F(NamesTest, NormaliseSeriesLabelWithoutTheFile) {
  LoadLabelDictionary(DataDir());
  Book.Publisher = Sjis("見本出版");
  Book.Series = Sjis("ABC");
  NormaliseSeriesLabel();
  EXPECT_EQ(Book.Series, Sjis("ABC"));
}
