// The statement of responsibility split into person entries.
#include "names_fixture.h"

namespace {

struct StatementCase {
  std::string statement;            // UTF-8
  std::vector<std::string> entries; // UTF-8, in order
  std::string separator = ";";
};

} // namespace

// Every role row, the longer words before the shorter ones, and the places
// where a single character is a role word and where it is part of a name.
TEST_F(NamesTest, SplitAuthorStatementRoleTable) {
  const StatementCase cases[] = {
      // Persons and separators.
      {"山田太郎 著 ; 鈴木花子 訳", {"山田太郎", "鈴木花子 [訳]"}},
      {"山田太郎 原作 ; 鈴木花子 漫画 ; 佐藤次郎 監修",
       {"山田太郎", "鈴木花子", "佐藤次郎 [監修]"}},
      {"山田太郎;;鈴木花子;", {"山田太郎", "鈴木花子"}},
      {"山田太郎 ;   ; 鈴木花子", {"山田太郎", "鈴木花子"}},
      {"山田太郎 著", {"山田太郎"}},
      {"", {}},
      {" ; ; ", {}},
      {"山田太郎 著；鈴木花子 訳", {"山田太郎 著；鈴木花子 [訳]"}},
      {"山田太郎 著、鈴木花子 訳", {"山田太郎", "鈴木花子 [訳]"}, "、"},
      {"山田太郎 著、鈴木花子 訳", {"山田太郎 著、鈴木花子 [訳]"}},
      // A "￥" of the statement is a backslash, never a separator mark.
      {"山田￥太郎 著 ; 鈴木花子", {"山田\\太郎", "鈴木花子"}},
      {"￥ ; 著￥", {"\\", "著\\"}},
      // "他" and "ほか" alone are no person, also after the role goes.
      {"ジョン・スミス 著 ; 山田太郎 訳 ; ほか",
       {"ジョン・スミス", "山田太郎 [訳]"}},
      {"山田太郎 ; 他", {"山田太郎"}},
      {"ほか 訳", {}},
      {"山田太郎 他", {"山田太郎 他"}},
      {"山田太郎 ほか 著", {"山田太郎 ほか"}},
      // One "・" goes at each end; a "・" alone is nothing.
      {"・山田太郎・ 著", {"山田太郎"}},
      {"・・山田 ; 山田・・", {"・山田", "山田・"}},
      {"山田太郎 ; ・ ; 鈴木花子", {"山田太郎", "鈴木花子"}},
      {"山田太郎 著・訳", {"山田太郎 著 [訳]"}},
      // 堰 ends in the byte of "・"'s first half: "堰E" does not end in "・".
      {"山田堰E 著", {"山田堰E"}},
      // The rows in their order, each with the word it removes.
      {"山田太郎 著者", {"山田太郎"}},
      {"山田太郎 編・著", {"山田太郎[編・著]"}},
      {"山田太郎 編著", {"山田太郎[編著]"}},
      {"著 山田太郎", {"山田太郎"}},
      {"山田太郎著", {"山田太郎"}},
      {"山田太郎 著［ヤマダ タロウ］", {"山田太郎 ［ヤマダ タロウ］"}},
      {"鈴木花子 漫画", {"鈴木花子"}},
      {"画 鈴木花子", {"鈴木花子"}},
      {"鈴木花子 画", {"鈴木花子"}},
      {"鈴木花子 イラスト/作画", {"鈴木花子"}},
      {"鈴木花子 イラスト／作画", {"鈴木花子 イラスト"}},
      {"鈴木花子 作画", {"鈴木花子"}},
      {"山田太郎 小説", {"山田太郎"}},
      {"山田太郎（文）", {"山田太郎"}},
      {"山田太郎（著）", {"山田太郎"}},
      {"山田太郎【著】", {"山田太郎"}},
      {"鈴木花子 画［スズキ ハナコ］", {"鈴木花子 ［スズキ ハナコ］"}},
      {"山田太郎 原作者", {"山田太郎"}},
      {"山田太郎 原作", {"山田太郎"}},
      {"作 山田太郎", {"山田太郎"}},
      {"山田太郎 作", {"山田太郎"}},
      {"山田太郎 作［ヤマダ］", {"山田太郎 ［ヤマダ］"}},
      {"鈴木花子 イラスト", {"鈴木花子"}},
      {"イ 鈴木花子", {"鈴木花子"}},
      {"鈴木花子 イ［スズキ］", {"鈴木花子 ［スズキ］"}},
      {"鈴木花子（画）", {"鈴木花子"}},
      {"鈴木花子（絵）", {"鈴木花子"}},
      {"山田太郎 執筆", {"山田太郎 [執筆]"}},
      {"山田太郎 脚本", {"山田太郎 [脚本]"}},
      {"山田太郎 シナリオ", {"山田太郎 [シナリオ]"}},
      {"山田太郎 キャラクター原案 ; 鈴木花子 原案",
       {"山田太郎 [キャラクター原案]", "鈴木花子 [原案]"}},
      {"山田太郎 ストーリー原案", {"山田太郎 [ストーリー原案]"}},
      {"案 山田太郎", {"山田太郎 [案]"}},
      {"山田太郎 案［ヤマダ］", {"山田太郎 ［ヤマダ］ [案]"}},
      {"佐藤次郎 監修他", {"佐藤次郎 [監修他]"}},
      {"佐藤次郎 監訳", {"佐藤次郎 [監訳]"}},
      {"佐藤次郎 翻訳", {"佐藤次郎 [翻訳]"}},
      {"訳 鈴木花子", {"鈴木花子 [訳]"}},
      {"鈴木花子訳", {"鈴木花子 [訳]"}},
      {"鈴木花子（訳）", {"鈴木花子 [訳]"}},
      {"鈴木花子 訳［スズキ］", {"鈴木花子 ［スズキ］ [訳]"}},
      {"佐藤次郎 解説", {"佐藤次郎 [解説]"}},
      {"佐藤次郎 責任編集", {"佐藤次郎 [責任編集]"}},
      {"佐藤次郎 構成・編集", {"佐藤次郎 [構成・編集]"}},
      {"編集 山田太郎", {"山田太郎 [編集]"}},
      {"山田太郎 編集", {"山田太郎 [編集]"}},
      {"編 山田太郎", {"山田太郎 [編]"}},
      {"ＡＢＣ研究会 編", {"ABC研究会 [編]"}},
      {"山田太郎（編）", {"山田太郎 [編]"}},
      // " 編［" keeps the reading's bracket, like the other "［" rows.
      {"山田太郎 編［ヤマダ］", {"山田太郎 ［ヤマダ］ [編]"}},
      {"山田太郎 その他", {"山田太郎その他"}},
      {"その他", {}},
      // Single characters inside a name are no role words.
      {"鈴木花子画", {"鈴木花子画"}},
      {"山田太郎 文", {"山田太郎 文"}},
      {"画野太郎 著", {"画野太郎"}},
      {"作田一 訳", {"作田一 [訳]"}},
      {"イノウエ 著", {"イノウエ"}},
      {"訳田 著", {"訳田"}},
      {"山著太郎 訳", {"山著太郎 [訳]"}},
      {"山田案 ; 編田", {"山田案", "編田"}},
      {"山田太郎（作）", {"山田太郎(作)"}},
      // Only the first row found applies, to every occurrence.
      {"山田イラスト太郎 イラスト", {"山田太郎"}},
      {"山田太郎 著 訳", {"山田太郎 著 [訳]"}},
      // The preparation: brackets, signs, spaces, digits, markup.
      {"山田　太郎 著", {"山田 太郎"}},
      {"山田太郎〔著〕", {"山田太郎"}},
      {"著：山田太郎", {"山田太郎"}},
      {"山田！ 著", {"山田!"}},
      {"山田太郎（監修）", {"山田太郎 [監修]"}},
      {"山田太郎 <b>著</b>", {"山田太郎"}},
      {"ＡＢ山田 ; Ｘ１", {"AB山田", "X1"}},
      // An unclosed "<" takes the closing mark with it: the rest still
      // counts as the last piece.
      {"山田太郎 著 ; 鈴木花子 <訳", {"山田太郎", "鈴木花子"}},
  };
  for (const StatementCase& c : cases) {
    PersonList.clear();
    SplitAuthorStatement(Sjis(c.statement), Sjis(c.separator));
    StringList expected;
    for (const std::string& entry : c.entries)
      expected.push_back(Sjis(entry));
    EXPECT_EQ(PersonList, expected)
        << c.statement << " gave " << Readable(PersonList);
  }
}

TEST_F(NamesTest, SplitAuthorStatementTakesAtMostTheFirstPersons) {
  std::string statement;
  for (size_t i = 0; i < kMaxPersons + 20; ++i)
    statement += "p" + std::to_string(i) + " ; ";
  PersonList = {"x"};
  SplitAuthorStatement(statement, ";");
  ASSERT_EQ(PersonList.size(), kMaxPersons);
  EXPECT_EQ(PersonList[1], "p0");
  EXPECT_EQ(PersonList.back(), "p" + std::to_string(kMaxPersons - 2));
  SplitAuthorStatement("q 著", ";");
  EXPECT_EQ(PersonList.size(), kMaxPersons);
}

TEST_F(NamesTest, SplitAuthorStatementAppends) {
  PersonList = {"x"};
  SplitAuthorStatement(Sjis("山田太郎 著"), ";");
  EXPECT_EQ(PersonList, (StringList{"x", Sjis("山田太郎")}));
}
