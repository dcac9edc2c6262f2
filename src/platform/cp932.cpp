// Code page 932 <-> UTF-16 as MultiByteToWideChar and WideCharToMultiByte
// do it with no flags. The tables come from tools/gen_cp932_table.py.
#include "platform/platform.h"

#include <cstddef>
#include <cstdint>

namespace {

#include "platform/cp932_table.inc"

// What an undefined or cut double-byte sequence decodes to (the code
// page's default Unicode character, KATAKANA MIDDLE DOT).
constexpr char16_t kDefaultWide = 0x30FB;
// What a character the code page cannot hold encodes to.
constexpr char kDefaultByte = '?';

char16_t DecodePair(int row, unsigned char trail) {
  if (trail < kCp932TrailFirst || trail > kCp932TrailLast)
    return kDefaultWide;
  const char16_t wide = kCp932Pairs[row][trail - kCp932TrailFirst];
  return wide != 0 ? wide : kDefaultWide;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The table entry for c: 0 when code page 932 cannot hold it, below 0x100
// a single byte, otherwise lead << 8 | trail. Surrogates have no entry.
std::uint16_t EncodeEntry(char16_t c) {
  return kCp932Encode[kCp932EncodePage[c >> 8]][c & 0xFF];
}

} // namespace

std::uint16_t Cp932Entry(char16_t unit) { return EncodeEntry(unit); }

std::u16string Cp932ToWide(const std::string& text) {
  std::u16string wide;
  // Never more characters than bytes.
  wide.reserve(text.size());
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const int row = kCp932LeadRow[byte];
    if (row < 0) {
      wide.push_back(kCp932Single[byte]);
      continue;
    }
    // A lead byte with nothing after it, or with the NUL that ends a C
    // string, is cut: it alone becomes the default character. Any other
    // byte is its trail, even one that cannot be, and the pair is consumed.
    if (i + 1 == size || text[i + 1] == '\0') {
      wide.push_back(kDefaultWide);
      continue;
    }
    ++i;
    wide.push_back(DecodePair(row, static_cast<unsigned char>(text[i])));
  }
  return wide;
}

std::string WideToCp932(const std::u16string& text) {
  std::string bytes;
  // At most two bytes per UTF-16 unit, so the text is never reallocated.
  bytes.reserve(text.size() * 2);
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size; ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      bytes.push_back(static_cast<char>(c));
      continue;
    }
    // A character beyond the BMP is one character: one "?" for the pair.
    if (IsHighSurrogate(c) && i + 1 < size && IsLowSurrogate(text[i + 1])) {
      ++i;
      bytes.push_back(kDefaultByte);
      continue;
    }
    const std::uint16_t entry = EncodeEntry(c);
    if (entry == 0) {
      bytes.push_back(kDefaultByte);
    } else if (entry < 0x100) {
      bytes.push_back(static_cast<char>(entry));
    } else {
      bytes.push_back(static_cast<char>(entry >> 8));
      bytes.push_back(static_cast<char>(entry & 0xFF));
    }
  }
  return bytes;
}
