// Prints the width maps for check_width.py: one line per input,
//   <input> <half-width result> <full-width result>
// each a "+"-joined list of UTF-16 units in hexadecimal. The inputs are every
// character of the Basic Multilingual Plane (all of code page 932 among
// them), then every half-width katakana followed by each half-width sound
// mark, the pairs the full-width map composes.
#include "platform/platform.h"

#include <cstdio>
#include <string>

namespace {

void PrintUnits(const std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    std::printf(i ? "+%04X" : "%04X", static_cast<unsigned>(text[i]));
  if (text.empty())
    std::printf("-");
}

void PrintLine(const std::u16string& text) {
  PrintUnits(text);
  std::printf(" ");
  PrintUnits(LocaleMapWide(text, kMapHalfWidth));
  std::printf(" ");
  PrintUnits(LocaleMapWide(text, kMapFullWidth));
  std::printf("\n");
}

} // namespace

int main() {
  for (char32_t c = 0; c <= 0xFFFF; ++c)
    if (c < 0xD800 || c > 0xDFFF)
      PrintLine(std::u16string(1, static_cast<char16_t>(c)));
  for (char16_t letter = 0xFF61; letter <= 0xFF9F; ++letter)
    for (char16_t mark : {u'\uFF9E', u'\uFF9F'})
      PrintLine(std::u16string{letter, mark});
  return std::fflush(stdout) == 0 ? 0 : 1;
}
