// The code page 932 codec, the UTF-8 codec and the width and case maps.
// The input is taken both as bytes and as UTF-16 units. Whatever it holds,
// each conversion ends, whatever the encoder writes is code page 932, a
// text decoded once decodes the same after a round trip, and each map
// applied twice gives what it gave once.
#include "support.h"

#include "platform/platform.h"

namespace {

std::u16string AsUnits(const std::string& bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    units +=
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                              static_cast<unsigned char>(bytes[i + 1]) << 8);
  return units;
}

// Lone surrogates as the UTF-8 encoder writes them.
std::u16string WithoutLoneSurrogates(const std::u16string& text) {
  std::u16string out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const bool high = out[i] >= 0xD800 && out[i] <= 0xDBFF;
    const bool low = out[i] >= 0xDC00 && out[i] <= 0xDFFF;
    if (high && i + 1 < out.size() && out[i + 1] >= 0xDC00 &&
        out[i + 1] <= 0xDFFF)
      ++i;
    else if (high || low)
      out[i] = 0xFFFD;
  }
  return out;
}

void CheckCodePage(const std::string& bytes) {
  const std::u16string wide = Cp932ToWide(bytes);
  if (wide.size() > bytes.size())
    Fail("more characters than bytes");
  const std::string encoded = WideToCp932(wide);
  if (!IsCp932(encoded))
    Fail("the encoder wrote what is not code page 932");
  // Duplicate codes (NEC and IBM rows) come back as the one Windows
  // writes, but as the same characters.
  if (Cp932ToWide(encoded) != wide)
    Fail("a decoded text changed through a round trip");
  if (IsCp932(bytes) && encoded.size() != bytes.size())
    Fail("a code page 932 text changed its length through a round trip");
}

void CheckMaps(const std::string& bytes) {
  for (std::uint32_t flags : {kMapHalfWidth, kMapFullWidth}) {
    const std::string mapped = LocaleMapAnsi(bytes, flags);
    if (!IsCp932(mapped))
      Fail("a width map wrote what is not code page 932");
    if (LocaleMapAnsi(mapped, flags) != mapped)
      Fail("a width map changed its own result");
  }
  // CharUpperBuffA works in place: the text keeps its length. What follows
  // a sequence that is no character is left as it was, so only a
  // well-formed text stays well-formed and comes out the same twice.
  const std::string upper = LocaleUpper(bytes);
  if (upper.size() != bytes.size())
    Fail("the upper-case map changed the length");
  if (IsCp932(bytes) && !IsCp932(upper))
    Fail("the upper-case map cut a character");
  if (IsCp932(bytes) && LocaleUpper(upper) != upper)
    Fail("the upper-case map changed its own result");
}

void CheckWideMaps(const std::u16string& units) {
  const std::u16string half = LocaleMapWide(units, kMapHalfWidth);
  if (half.size() > 2 * units.size())
    Fail("the half-width map more than doubled a text");
  if (LocaleMapWide(half, kMapHalfWidth) != half)
    Fail("the half-width map changed its own result");
  const std::u16string full = LocaleMapWide(units, kMapFullWidth);
  if (full.size() > units.size())
    Fail("the full-width map lengthened a text");
  if (LocaleMapWide(full, kMapFullWidth) != full)
    Fail("the full-width map changed its own result");
  if (!LocaleMapWide(units, kMapHalfWidth | kMapFullWidth).empty())
    Fail("two width flags at once gave a mapping");
}

void CheckUtf8(const std::string& bytes, const std::u16string& units) {
  const std::u16string decoded = Utf8ToWide(bytes);
  if (Utf8ToWide(WideToUtf8(decoded)) != decoded)
    Fail("a decoded UTF-8 text changed through a round trip");
  if (Utf8ToWide(WideToUtf8(units)) != WithoutLoneSurrogates(units))
    Fail("a UTF-16 text changed through UTF-8");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string units = AsUnits(bytes);
  CheckCodePage(bytes);
  CheckCodePage(WideToCp932(units));
  CheckMaps(bytes);
  CheckWideMaps(units);
  CheckUtf8(bytes, units);
  return 0;
}
