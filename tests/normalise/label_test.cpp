#include "common/record.h"
#include "normalise/normalise.h"
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

TEST(IsLabelKind, KeywordsInTheKeyForm) {
  struct Case {
    std::string text;
    bool expected;
  } cases[] = {
      {"ABC文庫", true},      {"ＡＢＣコミックス", true},
      {"ｺﾐｯｸｽ", true},        {"Comics", true},
      {"comi", true},         {"kc", true},
      {"KCAL", true},         {"Novels", true},
      {"ライトノベル", true}, {"ﾉﾍﾞﾙｽ", true},
      {"新書", false},        {"", false},
      {"K C", false},         {"文", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsLabelKind(Sjis(c.text)), c.expected) << c.text;
}

TEST(ApplyPrivateOverride, OnlyWithTheMarkerFile) {
  struct Case {
    bool marker;
    std::string before, after;
  } cases[] = {
      {false, "文庫", "文庫"},      {true, "文庫", "A6"},
      {true, "コミック", ""},       {true, "B6コミック", "B6"},
      {true, "文庫コミック", "A6"}, {true, "四六", "四六"},
  };
  TempDir dir;
  const std::string marker = dir.File("Temp.html.marlow_private");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before + (c.marker ? " with marker" : " without"));
    std::remove(marker.c_str());
    if (c.marker)
      dir.Write("Temp.html.marlow_private", "");
    ClearRecord();
    Book.BookSize = Sjis(c.before);
    Book.DetailUrl = "http://x/d";
    Book.Extra1 = "e1";
    Book.Extra2 = "e2";
    EXPECT_TRUE(ApplyPrivateOverride(marker, "", ""));
    EXPECT_EQ(SjisToUtf8(Book.BookSize), c.after);
    EXPECT_EQ(Book.DetailUrl, c.marker ? "" : "http://x/d");
    EXPECT_EQ(Book.Extra1, c.marker ? "" : "e1");
    EXPECT_EQ(Book.Extra2, c.marker ? "" : "e2");
  }
}
