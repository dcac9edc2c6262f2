// The width and case maps of a Japanese Windows, from tables generated out
// of the Unicode data (tools/gen_width_tables.py). Every map is a lookup
// per character in a small sorted table, so each text is mapped in one pass.
#include "platform/platform.h"

#include <algorithm>
#include <iterator>

namespace {

struct HalfWidthRow {
  char16_t from;
  char16_t to;
  char16_t second; // 0 when the half-width form is a single character
};

struct MapRow {
  char16_t from;
  char16_t to;
};

struct VoicedRow {
  char16_t letter;
  char16_t mark;
  char16_t composed;
};

#include "platform/width_tables.inc"

constexpr char16_t kHalfVoicedMark = 0xFF9E;
constexpr char16_t kHalfSemiVoicedMark = 0xFF9F;

template <typename Row, std::size_t N>
const Row* FindRow(const Row (&rows)[N], char16_t c) {
  const Row* end = rows + N;
  const Row* row = std::lower_bound(
      rows, end, c, [](const Row& r, char16_t key) { return r.from < key; });
  return row != end && row->from == c ? row : nullptr;
}

template <std::size_t N> char16_t MapChar(const MapRow (&rows)[N], char16_t c) {
  const MapRow* row = FindRow(rows, c);
  return row ? row->to : c;
}

// The composed katakana for a half-width letter and the half-width mark that
// follows it, or 0 when the pair has none (then both are mapped on their own).
char16_t ComposeVoiced(char16_t letter, char16_t mark) {
  if (mark != kHalfVoicedMark && mark != kHalfSemiVoicedMark)
    return 0;
  const VoicedRow* end = std::end(kVoicedRows);
  const VoicedRow* row = std::lower_bound(
      std::begin(kVoicedRows), end, letter,
      [mark](const VoicedRow& r, char16_t key) {
        return r.letter < key || (r.letter == key && r.mark < mark);
      });
  return row != end && row->letter == letter && row->mark == mark
             ? row->composed
             : 0;
}

std::u16string ToHalfWidth(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    const HalfWidthRow* row = FindRow(kHalfWidthRows, c);
    if (!row) {
      out += c;
      continue;
    }
    out += row->to;
    if (row->second)
      out += row->second;
  }
  return out;
}

std::u16string ToFullWidth(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i + 1 < text.size()) {
      if (char16_t composed = ComposeVoiced(text[i], text[i + 1])) {
        out += composed;
        ++i;
        continue;
      }
    }
    out += MapChar(kFullWidthRows, text[i]);
  }
  return out;
}

} // namespace

std::u16string LocaleMapWide(const std::u16string& text, std::uint32_t flags) {
  if (flags == kMapHalfWidth)
    return ToHalfWidth(text);
  if (flags == kMapFullWidth)
    return ToFullWidth(text);
  return {};
}

std::string LocaleMapAnsi(const std::string& text, std::uint32_t flags) {
  if (flags != kMapHalfWidth && flags != kMapFullWidth)
    return {};
  return WideToCp932(LocaleMapWide(Cp932ToWide(text), flags));
}

// Through UTF-16, so that a trail byte in 0x61-0x7A is never taken for an
// ASCII letter. CharUpperBuffA works in place: the converted characters
// fill the original length as far as they fit whole (an undefined or cut
// sequence comes back as the two bytes of U+30FB, which may not fit), and
// the original bytes stay after them.
std::string LocaleUpper(const std::string& text) {
  std::string upper;
  upper.reserve(text.size());
  for (char16_t c : Cp932ToWide(text)) {
    const std::string bytes =
        WideToCp932(std::u16string(1, MapChar(kUpperRows, c)));
    if (upper.size() + bytes.size() > text.size())
      break;
    upper += bytes;
  }
  upper += text.substr(upper.size());
  return upper;
}
