// Catalogue pages as code page 932 lines, and the cleaning of their cells.
#include "catalogue/detail_page.h"
#include "catalogue/markup.h"
#include "platform/platform.h"
#include "plugin/driver.h"

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the sequence that lead starts: 1 below 0x80, 4 for the
// four-byte leads, 3 when bit 0x20 is set, otherwise 2.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80)
    return 1;
  if (lead >= 0xF0 && lead <= 0xF7)
    return 4;
  return (lead & 0x20) ? 3 : 2;
}

void AppendCode(std::u16string& wide, char32_t code) {
  if (code < 0x10000) {
    wide += static_cast<char16_t>(code);
    return;
  }
  code -= 0x10000;
  wide += static_cast<char16_t>(0xD800 + (code >> 10));
  wide += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

// The page's UTF-8 as UTF-16. False when a following byte is not a
// continuation byte or the text ends inside a sequence. A character beyond
// U+FFFF is kept (as a surrogate pair), so that one rare kanji or emoji
// does not lose the whole page.
bool DecodePage(const std::string& bytes, std::u16string& wide) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  wide.reserve(bytes.size());
  for (size_t pos = 0; pos < bytes.size();) {
    const size_t length =
        SequenceLength(static_cast<unsigned char>(bytes[pos]));
    if (pos + length > bytes.size())
      return false;
    char32_t code = static_cast<unsigned char>(bytes[pos]) & kLeadBits[length];
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(bytes[pos + k]);
      if (!IsContinuation(next))
        return false;
      code = (code << 6) | (next & 0x3F);
    }
    AppendCode(wide, code);
    pos += length;
  }
  return true;
}

std::string JoinLines(const StringList& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

} // namespace

StringList PreparePageText(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes))
    throw RunError(FromUtf8(u8"ファイルを読み込めませんでした。") + path);
  std::string text = JoinLines(SplitLines(bytes));
  text = ReplaceBytes(text, "\xE2\x80\x94", "\xE2\x80\x95"); // — as ―
  text = ReplaceBytes(text, "\xE3\x80\x9C", "~");            // 〜 as ~
  std::u16string wide;
  if (!DecodePage(text, wide))
    return {};
  // A character that code page 932 cannot hold becomes "?".
  text = WideToCp932(wide);
  static const std::pair<std::string, std::string> kEntities[] = {
      {"&amp;", "&"},
      {"&quot;", FromUtf8(u8"”")},
      {"&lt;", "<"},
      {"&gt;", ">"},
      {"~", FromUtf8(u8"～")}};
  for (const auto& [entity, character] : kEntities)
    text = ReplaceAll(text, entity, character);
  return SplitLines(text);
}

std::string CleanCell(const std::string& text) {
  static const std::string kOpen = FromUtf8(u8"〈");
  static const std::string kClose = FromUtf8(u8"〉");
  return StripMarkup(ReplaceAll(ReplaceAll(text, kOpen, " ("), kClose, ") "));
}

bool AuthorNotesMode(const std::string& dataDir) {
  const std::string path = dataDir + "rivet.dat";
  std::string bytes;
  if (!FileExists(path))
    return false;
  if (!ReadWholeFile(path, bytes))
    throw RunError(FromUtf8(u8"ファイルを読み込めませんでした。") + path);
  for (const std::string& line : SplitLines(bytes))
    if (Contains(line, "TOMEFINDER1=") &&
        ReplaceAll(line, "TOMEFINDER1=", "") == "1")
      return true;
  return false;
}
