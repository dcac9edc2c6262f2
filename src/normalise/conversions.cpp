// Numeral and character conversions shared by the field rules.
#include "catalogue/markup.h"
#include "common/text.h"
#include "normalise/normalise.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The single-byte form of a full-width digit or Latin letter (lead 0x82),
// or 0 when the character is none of them.
char NarrowForm(unsigned char lead, unsigned char second) {
  if (lead != 0x82)
    return 0;
  if (second >= 0x4F && second <= 0x79) // ０-９ and Ａ-Ｚ (and the gap)
    return static_cast<char>(second - 0x1F);
  if (second >= 0x81 && second <= 0x9A) // ａ-ｚ
    return static_cast<char>(second - 0x20);
  return 0;
}

} // namespace

std::string NarrowAlnum(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size() && text[pos] != '\0';) {
    if (CharLength(text, pos) == 1) {
      // A lead byte in the last position is copied and ends the walk.
      out += text[pos++];
      continue;
    }
    char narrow = NarrowForm(static_cast<unsigned char>(text[pos]),
                             static_cast<unsigned char>(text[pos + 1]));
    if (narrow)
      out += narrow;
    else
      out.append(text, pos, 2);
    pos += 2;
  }
  return out;
}

std::string MatchKey(const std::string& text) {
  return WideToCp932(ToFullWidth(Cp932ToWide(LocaleUpper(text))));
}

std::string TrailingDigits(const std::string& text) {
  size_t start = text.size();
  while (start > 0 && IsDigit(text[start - 1]))
    --start;
  return start == text.size() ? text : text.substr(start);
}

bool IsAllDigits(const std::string& text) {
  return std::all_of(text.begin(), text.end(), IsDigit);
}

bool IsKanjiNumeral(const std::string& text) {
  static const std::string kNumerals =
      FromUtf8(u8"一二三四五六七八九十百壱弐参拾");
  if (text.size() % 2 != 0)
    return false;
  for (size_t pos = 0; pos < text.size(); pos += 2) {
    bool found = false;
    for (size_t k = 0; k < kNumerals.size() && !found; k += 2)
      found = text.compare(pos, 2, kNumerals, k, 2) == 0;
    if (!found)
      return false;
  }
  return true;
}

bool IsRomanNumeral(const std::string& text) {
  return text.find_first_not_of("IVXivx") == std::string::npos;
}
