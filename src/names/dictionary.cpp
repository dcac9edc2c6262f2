// The dictionary files: read, searched and keyed.
#include "names/names.h"

#include "catalogue/markup.h"
#include "common/record.h"
#include "platform/platform.h"
#include "plugin/driver.h"

StringList AuthorDictionary;
StringList LabelDictionary;

namespace {

// The search texts of the two dictionaries, built when they are loaded.
std::string AuthorText;
std::string LabelText;

// Replaces the copy of the code before; on a failure the dictionary is
// left empty.
void Load(const std::string& path, StringList& lines, std::string& text) {
  lines.clear();
  text.clear();
  lines = ReadDictionaryFile(path);
  text = SearchText(lines);
}

} // namespace

StringList ReadDictionaryFile(const std::string& path) {
  // Anything at the path that cannot be read (a file held by another
  // program, a directory) ends the run; only a missing file is empty.
  if (!PathExists(path))
    return {};
  std::string bytes;
  if (!ReadWholeFile(path, bytes))
    throw RunError(FromUtf8(u8"辞書ファイルを読み込めませんでした。") + path);
  return SplitLines(bytes);
}

std::string SearchText(const StringList& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void LoadAuthorDictionary(const std::string& dataDir) {
  Load(dataDir + "AuthDB.dat", AuthorDictionary, AuthorText);
}

void LoadLabelDictionary(const std::string& dataDir) {
  Load(dataDir + "LabelsDB.dat", LabelDictionary, LabelText);
}

void ReleaseAuthorDictionary() {
  StringList().swap(AuthorDictionary);
  std::string().swap(AuthorText);
}

void ReleaseLabelDictionary() {
  StringList().swap(LabelDictionary);
  std::string().swap(LabelText);
}

const std::string& AuthorSearchText() { return AuthorText; }
const std::string& LabelSearchText() { return LabelText; }

std::string DictionaryKey(const std::string& text) {
  static const std::string kDropped[] = {FromUtf8(u8"・"), FromUtf8(u8"☆"),
                                         FromUtf8(u8"★"), FromUtf8(u8"♪")};
  static const std::string kKatakanaNi = FromUtf8(u8"ニ");
  static const std::string kKanjiNi = FromUtf8(u8"二");
  std::string key = text;
  for (const std::string& mark : kDropped)
    key = ReplaceAll(key, mark, "");
  key = ReplaceAll(key, kKatakanaNi, kKanjiNi);
  // MapHalfWidth maps the whole text, with no 255-byte cut, so the key of a
  // text of any length is defined and looked up like any other.
  key = MapHalfWidth(key);
  key = ReplaceAll(key, " ", "");
  key = ReplaceAll(key, "\xB0", "-"); // the half-width long vowel mark ｰ
  return Trim(key);
}

bool FindEntry(const std::string& dictionaryText, const std::string& key,
               const std::string& endMarker, std::string& value) {
  if (key.empty() || !Contains(dictionaryText, key))
    return false;
  value = TextBetween(dictionaryText, key, endMarker);
  return true;
}

std::string FieldAt(const std::string& value, int n) {
  std::string_view rest(value);
  for (int step = 1; step <= n; ++step) {
    const size_t bar = FindWhole(rest, "|");
    if (bar == std::string_view::npos)
      return step == n ? std::string(rest) : std::string();
    if (step == n)
      return std::string(rest.substr(0, bar));
    rest.remove_prefix(bar + 1);
  }
  return {};
}
