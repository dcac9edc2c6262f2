// The label-kind test and the private override.
#include "common/record.h"
#include "common/text.h"
#include "normalise/normalise.h"
#include "platform/platform.h"

bool IsLabelKind(const std::string& text) {
  static const std::string kKeywords[] = {
      FromUtf8(u8"文庫"), FromUtf8(u8"コミック"), FromUtf8(u8"ＣＯＭＩ"),
      FromUtf8(u8"ＫＣ"), FromUtf8(u8"ノベル"),   FromUtf8(u8"ＮＯＶＥＬ")};
  const std::string key = MatchKey(text);
  for (const std::string& keyword : kKeywords)
    if (Contains(key, keyword))
      return true;
  return false;
}

bool ApplyPrivateOverride(const std::string& markerPath,
                          const std::string& extra1,
                          const std::string& extra2) {
  if (!FileExists(markerPath))
    return true;
  static const std::string kBunko = FromUtf8(u8"文庫");
  static const std::string kComic = FromUtf8(u8"コミック");
  Book.BookSize = ReplaceAll(Book.BookSize, kBunko, "A6");
  Book.BookSize = ReplaceAll(Book.BookSize, kComic, "");
  Book.Extra1 = extra1;
  Book.Extra2 = extra2;
  Book.DetailUrl.clear();
  return true;
}
