// The title row taken apart: main title, volume designation and notes.
//
// The rules run in their order of precedence and the first one that finds a
// volume ends the analysis: a trailing group, a group followed by text, the
// last word, a number after 第 or 編, a Latin VOL/NO marker, digits glued
// to 巻 or 集. Searches for "(", ")" and the space run from the end; none
// of these bytes can be the second byte of a double-byte character. The
// searches for 第, 編, VOL and NO, and the test for a final 巻 or 集, match
// whole characters only: a match that began inside a character would cut
// the title in half.
#include "common/record.h"
#include "common/text.h"
#include "normalise/normalise.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

constexpr size_t npos = std::string::npos;

const std::string& OrdinalMark() {
  static const std::string kMark = FromUtf8(u8"第");
  return kMark;
}

const std::string& PartMark() {
  static const std::string kMark = FromUtf8(u8"編");
  return kMark;
}

const std::string& VolumeSuffix() {
  static const std::string kSuffix = FromUtf8(u8"巻");
  return kSuffix;
}

const std::string& CollectionSuffix() {
  static const std::string kSuffix = FromUtf8(u8"集");
  return kSuffix;
}

// The later of two first occurrences, npos for an absent one.
size_t LaterOf(size_t a, size_t b) {
  if (a == npos)
    return b;
  if (b == npos)
    return a;
  return std::max(a, b);
}

// The last "(" among the first end bytes, or npos.
size_t LastOpenBefore(std::string_view text, size_t end) {
  return end == 0 ? npos : text.rfind('(', end - 1);
}

// The bytes after the "(" at open (from the start when there is none) and
// before end.
std::string GroupContent(std::string_view text, size_t open, size_t end) {
  size_t first = open == npos ? 0 : open + 1;
  return std::string(text.substr(first, end - first));
}

// The bytes before the "(" at open; nothing when there is none.
std::string BeforeGroup(const std::string& text, size_t open) {
  return open == npos ? std::string() : text.substr(0, open);
}

// A group's content as a volume candidate: 第3巻 and 第2集 count as 3, 2.
std::string WithoutCounters(const std::string& content) {
  std::string out = ReplaceAll(content, OrdinalMark(), "");
  out = ReplaceAll(out, VolumeSuffix(), "");
  return ReplaceAll(out, CollectionSuffix(), "");
}

// Full-width brackets, signs and spaces, digits and letters in ASCII, so
// the rules below need to look for one form only.
std::string NormaliseRow(const std::string& text) {
  static const std::pair<std::string, std::string> kNarrowed[] = {
      {FromUtf8(u8"（"), "("}, {FromUtf8(u8"）"), ")"}, {FromUtf8(u8"！"), "!"},
      {FromUtf8(u8"．"), "."}, {FromUtf8(u8"　"), " "},
  };
  std::string out = text;
  for (const auto& [from, to] : kNarrowed)
    out = ReplaceAll(out, from, to);
  return Trim(NarrowAlnum(out));
}

// Groups at the end, taken from the right. The rightmost designation fills
// an empty Volume; every other group goes to the front of the notes, so
// they keep their left-to-right order. The title is shortened in place and
// the notes joined once at the end, so that a title of many groups costs
// no more than its length.
void TakeTrailingGroups(std::string& title, std::string& notes) {
  std::string_view rest(title);
  StringList groups; // right to left
  while (!rest.empty() && rest.back() == ')') {
    size_t close = rest.size() - 1;
    size_t open = LastOpenBefore(rest, close);
    std::string content = GroupContent(rest, open, close);
    if (Contains(content, ")")) { // one level of nesting, no more
      open = LastOpenBefore(rest, open == npos ? 0 : open);
      content = GroupContent(rest, open, close);
    }
    std::string candidate = WithoutCounters(content);
    rest = rest.substr(0, open == npos ? 0 : open);
    while (!rest.empty() && static_cast<unsigned char>(rest.back()) <= ' ')
      rest.remove_suffix(1); // as TrimRight
    if (IsVolumeWord(candidate) && Book.Volume.empty())
      Book.Volume = candidate;
    else
      groups.push_back(std::move(content));
  }
  std::string front;
  for (auto group = groups.rbegin(); group != groups.rend(); ++group)
    front += *group + " ";
  notes = front + notes;
  title.resize(rest.size());
}

// 入門 (2) 新装版: the group before the last ")" is the volume and the text
// after it a note.
bool TakeGroupBeforeText(std::string& title, std::string& notes) {
  if (!Contains(title, "(") || !Contains(title, ")"))
    return false;
  size_t close = title.rfind(')');
  size_t open = LastOpenBefore(title, close);
  std::string candidate = WithoutCounters(GroupContent(title, open, close));
  if (!IsVolumeWord(candidate))
    return false;
  Book.Volume = candidate;
  notes = title.substr(close + 1) + " " + notes;
  title = TrimRight(BeforeGroup(title, open));
  return true;
}

// A final 巻 or 集, held back so that the number before it can be found;
// it is put back only when no rule finds a volume.
std::string HoldBackSuffix(std::string& title) {
  for (const std::string* suffix : {&VolumeSuffix(), &CollectionSuffix()}) {
    if (EndsWithWhole(title, *suffix)) {
      title.resize(title.size() - suffix->size());
      return *suffix;
    }
  }
  return {};
}

bool TakeLastWord(std::string& title) {
  size_t space = title.rfind(' ');
  if (space == npos)
    return false;
  std::string word = title.substr(space + 1);
  if (!IsVolumeWord(word))
    return false;
  Book.Volume = word;
  title = TrimRight(title.substr(0, space));
  return true;
}

// 第3 or 短編3: the text after the later of the first 第 and the first 編.
// A 編 stays in the title, a 第 goes.
bool TakeNumberAfterMark(std::string& title) {
  size_t mark =
      LaterOf(FindWhole(title, OrdinalMark()), FindWhole(title, PartMark()));
  if (mark == npos)
    return false;
  size_t end = mark + OrdinalMark().size(); // both marks are two bytes
  std::string number = title.substr(end);
  if (!IsVolumeWord(number))
    return false;
  Book.Volume = number;
  title.resize(end);
  if (title.ends_with(OrdinalMark()))
    title = TrimRight(title.substr(0, title.size() - OrdinalMark().size()));
  return true;
}

// Vol.3, No.3: looked for in the comparison key, so the title comes back in
// the key's form (capitals, full-width signs and spaces).
bool TakeLatinMarker(std::string& title) {
  std::string key = NarrowAlnum(MatchKey(title));
  size_t mark = LaterOf(FindWhole(key, "VOL"), FindWhole(key, "NO"));
  if (mark == npos)
    return false;
  std::string number = TrailingDigits(key);
  if (!IsVolumeWord(number)) // the key does not end in a digit
    return false;
  Book.Volume = number;
  title = TrimRight(key.substr(0, mark));
  return true;
}

// ABC3巻: the digits right before a held-back suffix. A second byte is
// never a digit, so walking back by bytes cannot split a character.
bool TakeDigitsBeforeSuffix(std::string& title, const std::string& suffix) {
  if (suffix.empty())
    return false;
  size_t start = title.size();
  while (start > 0 && title[start - 1] >= '0' && title[start - 1] <= '9')
    --start;
  if (start == title.size()) {
    title += suffix;
    return false;
  }
  Book.Volume = title.substr(start);
  title.resize(start);
  return true;
}

// A Volume set before the call, or by a trailing group, stops the search;
// so does the first of the later rules that finds a designation.
void FindVolume(std::string& title, std::string& notes) {
  TakeTrailingGroups(title, notes);
  if (!Book.Volume.empty() || TakeGroupBeforeText(title, notes))
    return;
  std::string suffix = HoldBackSuffix(title);
  if (TakeLastWord(title) || TakeNumberAfterMark(title) ||
      TakeLatinMarker(title))
    return;
  TakeDigitsBeforeSuffix(title, suffix);
}

} // namespace

bool IsVolumeWord(const std::string& text) {
  static const std::string kUpper = FromUtf8(u8"上");
  static const std::string kMiddle = FromUtf8(u8"中");
  static const std::string kLower = FromUtf8(u8"下");
  return IsAllDigits(text) || text == kUpper || text == kMiddle ||
         text == kLower || IsKanjiNumeral(text) || IsRomanNumeral(text);
}

std::string AnalyseTitle(const std::string& text) {
  std::string title = NormaliseRow(text);
  std::string notes;
  FindVolume(title, notes);
  Book.Title = title;
  return Trim(notes);
}
