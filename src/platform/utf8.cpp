// UTF-8 <-> UTF-16, used by the stand-in host and by the POSIX message box.
#include "platform/platform.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the UTF-8 sequence that starts with lead, 0 when lead cannot
// start one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    return 2;
  if (lead >= 0xE0 && lead <= 0xEF)
    return 3;
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  return 0;
}

// Decodes one well-formed sequence at text[i] into code; false when it is
// malformed (bad continuation, overlong, surrogate or beyond U+10FFFF).
bool DecodeSequence(const std::string& text, size_t i, int length,
                    char32_t& code) {
  if (i + length > text.size())
    return false;
  static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  code = static_cast<unsigned char>(text[i]) & kLeadMask[length];
  for (int k = 1; k < length; ++k) {
    unsigned char c = static_cast<unsigned char>(text[i + k]);
    if ((c & 0xC0) != 0x80)
      return false;
    code = (code << 6) | (c & 0x3F);
  }
  static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  return code >= kMinimum[length] && code <= 0x10FFFF &&
         !(code >= 0xD800 && code <= 0xDFFF);
}

void AppendWide(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out += static_cast<char16_t>(code);
    return;
  }
  code -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (code >> 10));
  out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

} // namespace

std::u16string Utf8ToWide(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    int length = SequenceLength(static_cast<unsigned char>(text[i]));
    char32_t code = 0;
    if (length > 0 && DecodeSequence(text, i, length, code)) {
      AppendWide(out, code);
      i += length;
    } else {
      out += kReplacement;
      ++i;
    }
  }
  return out;
}

std::string WideToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    bool high = code >= 0xD800 && code <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = kReplacement;
    }
    AppendUtf8(out, code);
  }
  return out;
}
