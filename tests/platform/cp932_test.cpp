// Code page 932 against glibc iconv's CP932, a table built apart from ours:
// every byte sequence and every BMP character, with each known difference
// listed and explained, so that any new difference fails.
#include "platform/platform.h"
#include "support/sjis.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char16_t kMiddleDot = 0x30FB; // the code page's default character

// One iconv direction, opened once for the many conversions of a test.
struct Iconv {
  Iconv(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok())
      iconv_close(cd);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd;
};

// The converted bytes, or nullopt with *error set to iconv's errno when it
// rejects the input (EILSEQ invalid, EINVAL cut short).
std::optional<std::string> Convert(Iconv& iconv, const std::string& in,
                                   int* error = nullptr) {
  ::iconv(iconv.cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  if (::iconv(iconv.cd, &src, &srcLeft, &dst, &dstLeft) ==
      static_cast<size_t>(-1)) {
    if (error)
      *error = errno;
    return std::nullopt;
  }
  out.resize(out.size() - dstLeft);
  return out;
}

std::u16string FromUtf16Le(const std::string& bytes) {
  std::u16string wide;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    wide.push_back(
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                              static_cast<unsigned char>(bytes[i + 1]) << 8));
  return wide;
}

std::string ToUtf16Le(const std::u16string& wide) {
  std::string bytes;
  for (char16_t c : wide) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::optional<std::u16string>
IconvDecode(Iconv& iconv, const std::string& bytes, int* error = nullptr) {
  const auto utf16 = Convert(iconv, bytes, error);
  if (!utf16)
    return std::nullopt;
  return FromUtf16Le(*utf16);
}

std::string WideHex(const std::u16string& wide) {
  std::string out;
  char buf[8];
  for (char16_t c : wide) {
    std::snprintf(buf, sizeof buf, "U+%04X ", static_cast<unsigned>(c));
    out += buf;
  }
  if (!out.empty())
    out.pop_back();
  return out;
}

template <typename T, typename Format>
std::string Show(const std::optional<T>& value, Format show) {
  return value ? show(*value) : std::string("(rejected)");
}

// Mismatches of an exhaustive loop, reported together: the first few in
// full and the count, instead of thousands of failures.
struct Mismatches {
  std::vector<std::string> lines;
  void Add(const std::string& line) { lines.push_back(line); }
  std::string Report() const {
    std::string out = std::to_string(lines.size()) + " mismatches";
    for (size_t i = 0; i < lines.size() && i < 20; ++i)
      out += "\n  " + lines[i];
    return out;
  }
};

// --- Every difference between our code page 932 and iconv's CP932 ---------

struct DecodeDifference {
  std::string bytes;
  std::u16string ours;
  std::optional<std::u16string> iconv; // nullopt: iconv rejects the bytes
  const char* reason;
};

const DecodeDifference kDecodeDifferences[] = {
    {"\x80", u"\u0080", std::nullopt,
     "Windows reads 0x80 as the C1 control U+0080"},
    {"\xA0", u"\uF8F0", std::nullopt,
     "Windows reads 0xA0 as private-use U+F8F0 so that it survives"},
    {"\xFD", u"\uF8F1", std::nullopt,
     "Windows reads 0xFD as private-use U+F8F1 so that it survives"},
    {"\xFE", u"\uF8F2", std::nullopt,
     "Windows reads 0xFE as private-use U+F8F2 so that it survives"},
    {"\xFF", u"\uF8F3", std::nullopt,
     "Windows reads 0xFF as private-use U+F8F3 so that it survives"},
};

struct EncodeDifference {
  char16_t wide;
  std::string ours;
  std::optional<std::string> iconv; // nullopt: iconv rejects the character
  const char* reason;
};

const EncodeDifference kEncodeDifferences[] = {
    {0x0080, "\x80", std::nullopt, "Windows writes U+0080 back as 0x80"},
    {0x00A6, "|", std::nullopt, "best fit: BROKEN BAR as a vertical bar"},
    {0x00AF, "\x81\x50", std::nullopt, "best fit: MACRON as FULLWIDTH MACRON"},
    {0x2014, "?", "\x81\x5C",
     "iconv writes EM DASH one way as 0x815C, which reads as U+2015; "
     "Windows has no form for it"},
    {0x2016, "?", "\x81\x61",
     "iconv writes DOUBLE VERTICAL LINE one way as 0x8161, which reads as "
     "U+2225; Windows has no form for it"},
    {0x203E, "?", "\x7E",
     "iconv writes OVERLINE as 0x7E; Windows has no best fit for it"},
    {0x2212, "?", "\x81\x7C",
     "iconv writes MINUS SIGN one way as 0x817C, which reads as U+FF0D; "
     "Windows has no form for it"},
    {0x301C, "?", "\x81\x60",
     "iconv writes WAVE DASH one way as 0x8160, which reads as U+FF5E; "
     "Windows has no form for it"},
    {0xF8F0, "\xA0", std::nullopt, "Windows writes U+F8F0 back as 0xA0"},
    {0xF8F1, "\xFD", std::nullopt, "Windows writes U+F8F1 back as 0xFD"},
    {0xF8F2, "\xFE", std::nullopt, "Windows writes U+F8F2 back as 0xFE"},
    {0xF8F3, "\xFF", std::nullopt, "Windows writes U+F8F3 back as 0xFF"},
};

const DecodeDifference* FindDecodeDifference(const std::string& bytes) {
  for (const DecodeDifference& d : kDecodeDifferences)
    if (d.bytes == bytes)
      return &d;
  return nullptr;
}

const EncodeDifference* FindEncodeDifference(char16_t wide) {
  for (const EncodeDifference& d : kEncodeDifferences)
    if (d.wide == wide)
      return &d;
  return nullptr;
}

bool IsLeadByte(int byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Checks one byte sequence against iconv: equal, a listed difference, or
// (where iconv finds it invalid or cut) our default character.
void CompareDecode(Iconv& iconv, const std::string& bytes,
                   Mismatches& mismatches) {
  int error = 0;
  const auto theirs = IconvDecode(iconv, bytes, &error);
  const std::u16string ours = Cp932ToWide(bytes);
  std::u16string expected;
  if (const DecodeDifference* d = FindDecodeDifference(bytes)) {
    if (theirs != d->iconv)
      mismatches.Add(Hex(bytes) + ": iconv now gives " + Show(theirs, WideHex) +
                     ", listed " + Show(d->iconv, WideHex));
    expected = d->ours;
  } else if (theirs) {
    expected = *theirs;
  } else {
    // A lone lead byte (iconv: cut short) or an undefined pair (invalid).
    expected = std::u16string(1, kMiddleDot);
  }
  if (ours != expected)
    mismatches.Add(Hex(bytes) + ": ours " + WideHex(ours) + ", expected " +
                   WideHex(expected) + ", iconv " + Show(theirs, WideHex));
}

TEST(Cp932Iconv, EverySingleByteDecodesAlike) {
  Iconv iconv("UTF-16LE", "CP932");
  ASSERT_TRUE(iconv.ok());
  Mismatches mismatches;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string bytes(1, static_cast<char>(byte));
    CompareDecode(iconv, bytes, mismatches);
    // Our lead bytes are exactly the ones iconv waits on for a trail.
    int error = 0;
    const bool cut = !IconvDecode(iconv, bytes, &error) && error == EINVAL;
    if (cut != IsLeadByte(byte))
      mismatches.Add(Hex(bytes) + ": lead byte for iconv " +
                     std::to_string(cut));
  }
  EXPECT_TRUE(mismatches.lines.empty()) << mismatches.Report();
}

// Every lead byte with every possible trail: the defined pairs as iconv
// reads them, every other pair (any non-NUL byte after a lead byte is its
// trail) one default character.
TEST(Cp932Iconv, EveryDoubleByteSequenceDecodesAlike) {
  Iconv iconv("UTF-16LE", "CP932");
  ASSERT_TRUE(iconv.ok());
  Mismatches mismatches;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(lead))
      continue;
    for (int trail = 0x01; trail <= 0xFF; ++trail) {
      const std::string bytes{static_cast<char>(lead),
                              static_cast<char>(trail)};
      CompareDecode(iconv, bytes, mismatches);
    }
  }
  EXPECT_TRUE(mismatches.lines.empty()) << mismatches.Report();
}

TEST(Cp932Iconv, EveryBmpCharacterEncodesAlike) {
  Iconv iconv("CP932", "UTF-16LE");
  ASSERT_TRUE(iconv.ok());
  Mismatches mismatches;
  for (unsigned code = 0; code <= 0xFFFF; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF)
      continue; // no character alone; see the surrogate cases below
    const std::u16string wide(1, static_cast<char16_t>(code));
    const auto theirs = Convert(iconv, ToUtf16Le(wide));
    const std::string ours = WideToCp932(wide);
    std::string expected;
    if (const EncodeDifference* d = FindEncodeDifference(wide[0])) {
      if (theirs != d->iconv)
        mismatches.Add(WideHex(wide) + ": iconv now gives " +
                       Show(theirs, Hex) + ", listed " + Show(d->iconv, Hex));
      expected = d->ours;
    } else {
      expected = theirs.value_or("?");
    }
    if (ours != expected)
      mismatches.Add(WideHex(wide) + ": ours " + Hex(ours) + ", expected " +
                     Hex(expected) + ", iconv " + Show(theirs, Hex));
  }
  EXPECT_TRUE(mismatches.lines.empty()) << mismatches.Report();
}

// --- Edge cases -------------------------------------------------------------

TEST(Cp932, DecodesCutAndUndefinedSequencesAsWindowsDoes) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string wide;
  } cases[] = {
      {"empty", "", u""},
      {"ASCII, kana and kanji", "A\xB1\x82\xA0\x8A\xBF",
       u"A\uFF71\u3042\u6F22"},
      {"backslash and tilde stay ASCII", "\\~", u"\\~"},
      {"undefined pair takes both bytes", "\x85\x40Z", u"\u30FBZ"},
      {"lead byte at the end", "Z\x88", u"Z\u30FB"},
      {"lead byte before NUL leaves the NUL", "\x88\0Z"s, u"\u30FB\0Z"s},
      {"ASCII letter A as trail", "\x81\x41", u"\u3001"},
      {"space as trail", "\x81 Z", u"\u30FBZ"},
      {"DEL as trail", "\x81\x7FZ", u"\u30FBZ"},
      {"byte above 0xFC as trail", "\x81\xFDZ", u"\u30FBZ"},
      {"lead byte as trail", "\x81\x81\x81", u"\uFF1D\u30FB"},
      {"user-defined area", "\xF0\x40\xF9\xFC", u"\uE000\uE757"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WideHex(Cp932ToWide(c.bytes)), WideHex(c.wide));
  }
}

TEST(Cp932, EncodesOneQuestionMarkPerCharacter) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::u16string wide;
    std::string bytes;
  } cases[] = {
      {"empty", u"", ""},
      {"NUL kept", u"A\0B"s, "A\0B"s},
      {"surrogate pair", u"a\U0001F600b", "a?b"},
      {"pair between kanji", u"\u6F22\U00020BB7\u5B57", "\x8A\xBF?\x8E\x9A"},
      {"lone high surrogate at the end", {u'a', 0xD83D}, "a?"},
      {"lone high surrogate before ASCII", {0xD83D, u'x'}, "?x"},
      {"lone low surrogate", {u'x', 0xDE00, u'y'}, "x?y"},
      {"low then high", {0xDE00, 0xD83D}, "??"},
      {"high, then a pair", {0xD83D, 0xD83D, 0xDE00}, "??"},
      {"question mark itself", u"?", "?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(WideToCp932(c.wide)), Hex(c.bytes));
  }
}

// --- Long text --------------------------------------------------------------

template <typename S> std::string FirstDifference(const S& a, const S& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i])
    ++i;
  return "sizes " + std::to_string(a.size()) + " and " +
         std::to_string(b.size()) + ", first difference at " +
         std::to_string(i);
}

// Every sequence Windows writes back unchanged, interleaved so that single
// bytes that could be trails follow pairs, repeated to some megabytes: the
// decoder must keep its place from start to end, and the encoder must give
// the same bytes back.
TEST(Cp932, LongMixedTextRoundTrips) {
  Iconv toWide("UTF-16LE", "CP932");
  Iconv toBytes("CP932", "UTF-16LE");
  ASSERT_TRUE(toWide.ok() && toBytes.ok());
  std::vector<std::string> pieces;
  std::vector<std::u16string> wides;
  auto add = [&](const std::string& bytes) {
    const auto wide = IconvDecode(toWide, bytes);
    if (!wide || Convert(toBytes, ToUtf16Le(*wide)) != bytes)
      return; // undefined, or a duplicate Windows writes elsewhere
    pieces.push_back(bytes);
    wides.push_back(*wide);
  };
  for (int byte = 0; byte < 256; ++byte)
    if (!IsLeadByte(byte))
      add(std::string(1, static_cast<char>(byte)));
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(lead))
      continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail)
      add(std::string{static_cast<char>(lead), static_cast<char>(trail)});
  }
  for (const DecodeDifference& d : kDecodeDifferences) {
    pieces.push_back(d.bytes);
    wides.push_back(d.ours);
  }
  ASSERT_GT(pieces.size(), 7000u);

  std::string text;
  std::u16string wide;
  const size_t n = pieces.size();
  for (int round = 0; round < 256; ++round) {
    // A stride coprime with n visits every piece once, well mixed.
    size_t stride = 7919 + round;
    while (std::gcd(stride, n) != 1)
      ++stride;
    for (size_t k = 0, i = round % n; k < n; ++k, i = (i + stride) % n) {
      text += pieces[i];
      wide += wides[i];
    }
  }
  ASSERT_GT(text.size(), 4u << 20);

  const std::u16string decoded = Cp932ToWide(text);
  EXPECT_TRUE(decoded == wide) << FirstDifference(decoded, wide);
  const std::string encoded = WideToCp932(decoded);
  EXPECT_TRUE(encoded == text) << FirstDifference(encoded, text);
}

} // namespace
