// The width maps and upper-casing of the platform layer. Expected texts are
// written out by hand, and the exhaustive upper-case check compares against
// glibc (iconv for code page 932, towupper for case), never against the
// plug-in's own tables.
#include "platform/platform.h"
#include "support/sjis.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Units(const std::u16string& text) {
  std::string out;
  char buf[8];
  for (char16_t c : text) {
    std::snprintf(buf, sizeof buf, "%04X ", static_cast<unsigned>(c));
    out += buf;
  }
  if (!out.empty())
    out.pop_back();
  return out;
}

// --- LocaleMapWide ---------------------------------------------------------

// Pairs that each map turns into the other.
struct WidthPair {
  std::u16string full;
  std::u16string half;
};

const WidthPair kWidthPairs[] = {
    {u"Ｓｍｉｔｈ", u"Smith"},
    {u"！＂＃＼｝～", u"!\"#\\}~"}, // both ends of the ASCII block
    {u"コミック", u"ｺﾐｯｸ"},
    {u"ァィゥェォャュョッ", u"ｧｨｩｪｫｬｭｮｯ"},
    {u"本の\u3000題名", u"本の 題名"},
    {u"ガ", u"ｶﾞ"},
    {u"パ", u"ﾊﾟ"},
    {u"ヴ", u"ｳﾞ"},
    {u"ガイドブック", u"ｶﾞｲﾄﾞﾌﾞｯｸ"},
    {u"ー", u"ｰ"},
    {u"。「」、・", u"｡｢｣､･"},
    {u"゛゜", u"ﾞﾟ"},
    {u"￠￡￢￣￤￥￦", u"¢£¬¯¦¥₩"},
    {u"ひらがな漢字", u"ひらがな漢字"},
    {u"𠀋", u"𠀋"}, // a surrogate pair passes through
};

TEST(LocaleMapWide, MapsBetweenFullAndHalfWidth) {
  for (const WidthPair& pair : kWidthPairs) {
    EXPECT_EQ(Units(LocaleMapWide(pair.full, kMapHalfWidth)), Units(pair.half))
        << "half-width of " << Units(pair.full);
    EXPECT_EQ(Units(LocaleMapWide(pair.half, kMapFullWidth)), Units(pair.full))
        << "full-width of " << Units(pair.half);
  }
}

struct WidthCase {
  const char* what;
  std::uint32_t flags;
  std::u16string text;
  std::u16string expected;
};

const WidthCase kWidthCases[] = {
    {"half-width stays", kMapHalfWidth, u"ｺﾐｯｸ abc", u"ｺﾐｯｸ abc"},
    {"full-width stays", kMapFullWidth, u"ＡＢＣ　ガ", u"ＡＢＣ　ガ"},
    {"combining mark", kMapHalfWidth, u"カ\u3099ハ\u309A", u"ｶﾞﾊﾟ"},
    {"no half-width base", kMapHalfWidth, u"ヸヹヾゔが", u"ヸヹヾゔが"},
    {"no half-width form", kMapHalfWidth, u"ヵヶヮヰヱ", u"ヵヶヮヰヱ"},
    {"not Japanese", kMapHalfWidth, u"■→○", u"■→○"},
    {"not Japanese", kMapFullWidth, u"\uFFA0￭", u"\uFFA0￭"},
    {"lone mark", kMapFullWidth, u"ﾞ", u"゛"},
    {"mark first", kMapFullWidth, u"ﾞｶ", u"゛カ"},
    {"no voiced form", kMapFullWidth, u"ｱﾞ", u"ア゛"},
    // ヷ and ヺ exist but code page 932 cannot hold them: composing would
    // turn the reading into "?".
    {"voiced form beyond code page 932", kMapFullWidth, u"ﾜﾞｦﾞ", u"ワ゛ヲ゛"},
    {"voiced form beyond code page 932", kMapHalfWidth, u"ヷヺ", u"ﾜﾞｦﾞ"},
    {"no semi-voiced form", kMapFullWidth, u"ｶﾟ", u"カ゜"},
    {"second mark", kMapFullWidth, u"ｶﾞﾞ", u"ガ゛"},
    {"letter last", kMapFullWidth, u"ｶﾞｶ", u"ガカ"},
    {"voiced and semi-voiced", kMapFullWidth, u"ﾊﾞﾊﾟﾎﾟ", u"バパポ"},
    {"empty", kMapHalfWidth, u"", u""},
    {"empty", kMapFullWidth, u"", u""},
    {"no flags", 0, u"ガ", u""},
    {"both flags", kMapHalfWidth | kMapFullWidth, u"ガ", u""},
    {"LCMAP_UPPERCASE", 0x00000200, u"abc", u""},
    {"with LCMAP_LOWERCASE", kMapHalfWidth | 0x00000100, u"ガ", u""},
};

TEST(LocaleMapWide, EdgeCasesAndFlags) {
  for (const WidthCase& c : kWidthCases)
    EXPECT_EQ(Units(LocaleMapWide(c.text, c.flags)), Units(c.expected))
        << c.what << ": " << Units(c.text);
}

// --- LocaleMapAnsi ---------------------------------------------------------

TEST(LocaleMapAnsi, MapsCodePage932Text) {
  struct Case {
    std::uint32_t flags;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {kMapHalfWidth, "コミック　マーケット", "ｺﾐｯｸ ﾏｰｹｯﾄ"},
      {kMapHalfWidth, "ガイド「ＶＯＬ．２」", "ｶﾞｲﾄﾞ｢VOL.2｣"},
      {kMapFullWidth, "ｶﾞｲﾄﾞ Book", "ガイド　Ｂｏｏｋ"},
      {kMapFullWidth, "ﾊﾟｿｺﾝ漢字", "パソコン漢字"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Hex(LocaleMapAnsi(Sjis(c.text), c.flags)), Hex(Sjis(c.expected)))
        << c.text;
}

TEST(LocaleMapAnsi, MapsTextLongerThan255BytesWhole) {
  std::string full, half;
  for (int i = 0; i < 200; ++i) {
    full += Sjis("ガ");
    half += Sjis("ｶﾞ");
  }
  full += Sjis("ア");
  half += Sjis("ｱ");
  ASSERT_GT(full.size(), 255u);
  EXPECT_EQ(Hex(LocaleMapAnsi(full, kMapHalfWidth)), Hex(half));
  EXPECT_EQ(Hex(LocaleMapAnsi(half, kMapFullWidth)), Hex(full));
}

TEST(LocaleMapAnsi, EmptyForEmptyTextOrUnknownFlags) {
  EXPECT_EQ(LocaleMapAnsi("", kMapHalfWidth), "");
  EXPECT_EQ(LocaleMapAnsi(Sjis("ガ"), 0), "");
  EXPECT_EQ(LocaleMapAnsi(Sjis("ガ"), kMapHalfWidth | kMapFullWidth), "");
}

// --- LocaleUpper -----------------------------------------------------------

TEST(LocaleUpper, UpperCasesCodePage932Letters) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"abcａｂｃαб", "ABCＡＢＣΑБ"},
      {"ωяёⅰⅹ", "ΩЯЁⅠⅩ"},
      {"ABCＸＹＺΣЖⅩ", "ABCＸＹＺΣЖⅩ"},
      // Trail bytes 0x61 'a', 0x62 'b', 0x6F 'o', 0x61 'a', 0x79 'y'.
      {"ヂッバＢＺ", "ヂッバＢＺ"},
      {"ヂaッbバo", "ヂAッBバO"},
      {"ｶﾞｲﾄﾞ漢字123", "ｶﾞｲﾄﾞ漢字123"},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Hex(LocaleUpper(Sjis(c.text))), Hex(Sjis(c.expected))) << c.text;
}

TEST(LocaleUpper, UpperCasesTextLongerThan255BytesWhole) {
  std::string lower, upper;
  for (int i = 0; i < 150; ++i) {
    lower += Sjis("ａz");
    upper += Sjis("ＡZ");
  }
  ASSERT_GT(lower.size(), 255u);
  EXPECT_EQ(Hex(LocaleUpper(lower)), Hex(upper));
}

// CharUpperBuffA works in place: an undefined or cut sequence comes back as
// U+30FB's two bytes where they fit, and the length never changes (as Wine's
// CharUpperBuffA does it, which the differential test compares over every
// character).
TEST(LocaleUpper, KeepsTheLengthOfUndefinedAndCutSequences) {
  const struct {
    std::string text, expected;
  } cases[] = {
      {"a\x81\xAD", "A\x81\x45"}, // undefined pair: the default character
      {"a\x81", "A\x81"},         // cut lead byte: no room for two bytes
      {"\xFD\x82", "\xFD\x82"},   // user-defined single byte, then a cut lead
  };
  for (const auto& c : cases)
    EXPECT_EQ(Hex(LocaleUpper(c.text)), Hex(c.expected)) << Hex(c.text);
}

// Every character of code page 932 as glibc's iconv knows it: its bytes and
// its code point.
struct Cp932Char {
  std::string bytes;
  char32_t code;
};

// The code points of a code page 932 text, decoded by iconv; empty when the
// text does not decode.
std::vector<char32_t> DecodeCp932(const std::string& bytes) {
  iconv_t cd = iconv_open("UTF-32LE", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return {};
  std::string out(bytes.size() * 4, '\0');
  char* src = const_cast<char*>(bytes.data());
  size_t srcLeft = bytes.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  std::vector<char32_t> codes;
  if (done == static_cast<size_t>(-1) || srcLeft != 0)
    return codes;
  out.resize(out.size() - dstLeft);
  for (std::size_t i = 0; i + 3 < out.size(); i += 4) {
    auto byte = [&](std::size_t k) {
      return static_cast<char32_t>(static_cast<unsigned char>(out[i + k]));
    };
    codes.push_back(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
  }
  return codes;
}

std::vector<Cp932Char> AllCp932Chars() {
  std::vector<Cp932Char> chars;
  auto add = [&chars](const std::string& bytes) {
    std::vector<char32_t> codes = DecodeCp932(bytes);
    if (codes.size() == 1)
      chars.push_back({bytes, codes[0]});
  };
  for (int single = 0; single <= 0xFF; ++single)
    add(std::string(1, static_cast<char>(single)));
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead < 0xE0)
      continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail)
      if (trail != 0x7F)
        add({static_cast<char>(lead), static_cast<char>(trail)});
  }
  return chars;
}

// The whole of code page 932 in one text, so that every trail byte also
// meets the bytes around it. glibc's towupper gives the expected capitals.
TEST(LocaleUpper, AgreesWithGlibcTowupperOnEveryCharacter) {
  locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  if (!utf8)
    GTEST_SKIP() << "no C.UTF-8 locale";
  std::vector<Cp932Char> chars = AllCp932Chars();
  ASSERT_GT(chars.size(), 7000u) << "iconv has no full CP932 table";

  std::string text;
  std::vector<char32_t> expected;
  for (const Cp932Char& c : chars) {
    text += c.bytes;
    expected.push_back(static_cast<char32_t>(towupper_l(c.code, utf8)));
  }
  freelocale(utf8);

  std::vector<char32_t> actual = DecodeCp932(LocaleUpper(text));
  ASSERT_EQ(actual.size(), expected.size());
  int differences = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (actual[i] == expected[i])
      continue;
    if (++differences <= 20)
      ADD_FAILURE() << Hex(chars[i].bytes) << std::hex << " U+"
                    << static_cast<unsigned>(chars[i].code) << " -> U+"
                    << static_cast<unsigned>(actual[i]) << ", towupper U+"
                    << static_cast<unsigned>(expected[i]);
  }
  EXPECT_EQ(differences, 0);
}

} // namespace
