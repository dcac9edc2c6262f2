#include "catalogue/markup.h"

#include "common/text.h"
#include "platform/platform.h"

std::string TextBetween(std::string_view text, std::string_view start,
                        std::string_view end) {
  if (start.empty())
    return {};
  size_t found = FindBytes(text, start);
  if (found == std::string_view::npos)
    return {};
  std::string_view rest = text.substr(found + start.size());
  if (!end.empty())
    rest = rest.substr(0, FindBytes(rest, end));
  return std::string(rest);
}

std::string KeepDigits(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9')
      digits += c;
  return digits.empty() ? text : digits;
}

namespace {

// The comment markers with a full-width bracket, so that their brackets do
// not count as tag brackets.
const char* const kOpenComment = "<!--";
const char* const kCloseComment = "-->";
const char* const kHiddenOpenComment = "\x81\x83!--"; // ＜!--
const char* const kHiddenCloseComment = "--\x81\x84"; // --＞

// Appends the text of work without its tags to out. The work text is
// walked once, by position: cutting tags off its front would copy the rest
// of a long line for every tag.
void DropTags(const std::string& work, std::string& out) {
  size_t pos = 0;
  size_t open = work.find('<');
  size_t close = work.find('>');
  while (open != std::string::npos || close != std::string::npos) {
    if (open == std::string::npos ||
        (close != std::string::npos && close < open)) {
      // The end of a tag begun earlier: its tail goes.
      pos = close + 1;
    } else if (close == std::string::npos) {
      // A tag that goes on to a later line.
      out.append(work, pos, open - pos);
      return;
    } else {
      out.append(work, pos, open - pos);
      pos = close + 1;
    }
    // Each bracket is looked for again only once the walk has passed it.
    if (open != std::string::npos && open < pos)
      open = work.find('<', pos);
    if (close < pos)
      close = work.find('>', pos);
  }
  out.append(work, pos);
}

} // namespace

std::string StripMarkup(const std::string& text) {
  std::string work = ReplaceAll(text, kOpenComment, kHiddenOpenComment);
  work = ReplaceAll(work, kCloseComment, kHiddenCloseComment);
  std::string out;
  DropTags(work, out);
  out = ReplaceAll(out, kHiddenOpenComment, kOpenComment);
  out = ReplaceAll(out, kHiddenCloseComment, kCloseComment);
  out = ReplaceAll(out, "&lt;", "<");
  out = ReplaceAll(out, "&gt;", ">");
  return ReplaceAll(out, "&nbsp;", " ");
}

std::u16string MapStringWide(const std::u16string& text, std::uint32_t flags) {
  return LocaleMapWide(text, flags);
}

std::u16string ToHalfWidth(const std::u16string& text) {
  return MapStringWide(text, kMapHalfWidth);
}

std::u16string ToFullWidth(const std::u16string& text) {
  return MapStringWide(text, kMapFullWidth);
}
