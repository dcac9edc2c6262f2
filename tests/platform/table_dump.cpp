// Prints, for the differential test (tests/windows/compare_tables.py), what
// the code page 932 conversions, the width maps and the upper-casing give
// for every code page 932 character. The native build prints our tables;
// the Windows build prints the system's (MultiByteToWideChar,
// WideCharToMultiByte, LCMapStringW, CharUpperBuffA), and the two dumps are
// compared line by line.
//
//   D <bytes> <decoded>                 every single byte and lead+trail pair
//   M <bytes> <half-width> <full-width> the width maps of the decoded text
//   U <bytes> <upper-cased bytes>
//   E <unit> <bytes>                    every BMP character, encoded
//
// Bytes are hexadecimal pairs, UTF-16 texts "+"-joined units, "-" empty.
// The width maps take the text as our table decodes it on both sides, so
// that a difference in them is not a decoding difference seen twice.
#include "platform/platform.h"

#include <cstdio>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

std::u16string Decode(const std::string& bytes) {
#if defined(_WIN32)
  wchar_t out[8];
  const int n = MultiByteToWideChar(932, 0, bytes.data(),
                                    static_cast<int>(bytes.size()), out, 8);
  return std::u16string(reinterpret_cast<const char16_t*>(out),
                        n > 0 ? static_cast<size_t>(n) : 0);
#else
  return Cp932ToWide(bytes);
#endif
}

std::string Encode(const std::u16string& text) {
#if defined(_WIN32)
  char out[8];
  const int n = WideCharToMultiByte(
      932, 0, reinterpret_cast<const wchar_t*>(text.data()),
      static_cast<int>(text.size()), out, 8, nullptr, nullptr);
  return std::string(out, n > 0 ? static_cast<size_t>(n) : 0);
#else
  return WideToCp932(text);
#endif
}

void PrintBytes(const std::string& bytes) {
  for (unsigned char c : bytes)
    std::printf("%02X", c);
  if (bytes.empty())
    std::printf("-");
}

void PrintUnits(const std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    std::printf(i ? "+%04X" : "%04X", static_cast<unsigned>(text[i]));
  if (text.empty())
    std::printf("-");
}

void PrintCharacter(const std::string& bytes) {
  std::printf("D ");
  PrintBytes(bytes);
  std::printf(" ");
  PrintUnits(Decode(bytes));
  const std::u16string ours = Cp932ToWide(bytes);
  std::printf("\nM ");
  PrintBytes(bytes);
  std::printf(" ");
  PrintUnits(LocaleMapWide(ours, kMapHalfWidth));
  std::printf(" ");
  PrintUnits(LocaleMapWide(ours, kMapFullWidth));
  std::printf("\nU ");
  PrintBytes(bytes);
  std::printf(" ");
  PrintBytes(LocaleUpper(bytes));
  std::printf("\n");
}

bool IsLead(unsigned c) { return (c >= 0x81 && c <= 0x9F) || c >= 0xE0; }

} // namespace

int main() {
  for (unsigned lead = 1; lead <= 0xFF; ++lead) {
    if (!IsLead(lead)) {
      PrintCharacter(std::string(1, static_cast<char>(lead)));
      continue;
    }
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
      if (trail != 0x7F)
        PrintCharacter(
            std::string{static_cast<char>(lead), static_cast<char>(trail)});
  }
  // Half-width katakana with a half-width sound mark: the pairs the
  // full-width map composes.
  for (unsigned letter = 0xA6; letter <= 0xDD; ++letter)
    for (unsigned mark : {0xDEu, 0xDFu})
      PrintCharacter(
          std::string{static_cast<char>(letter), static_cast<char>(mark)});
  for (char32_t c = 1; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF)
      continue;
    const std::u16string unit(1, static_cast<char16_t>(c));
    std::printf("E %04X ", static_cast<unsigned>(c));
    PrintBytes(Encode(unit));
    std::printf("\n");
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
