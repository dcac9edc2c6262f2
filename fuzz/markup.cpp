// The markup helpers on any line of a page: StripMarkup, TextBetween,
// CleanCell and KeepDigits. Parts: the text, then TextBetween's start and
// end markers.
#include "support.h"

#include "catalogue/detail_page.h"
#include "catalogue/markup.h"
#include "common/text.h"

namespace {

// Whether the text holds nothing that StripMarkup acts on.
bool HasNoMarkup(const std::string& text) {
  return text.find_first_of("<>&") == std::string::npos &&
         !Contains(text, "\x81\x83!--") && !Contains(text, "--\x81\x84");
}

void CheckStripMarkup(const std::string& text) {
  const std::string stripped = StripMarkup(text);
  // Tags and entities only ever shrink the text.
  if (stripped.size() > text.size())
    Fail("StripMarkup lengthened a text");
  if (HasNoMarkup(text) && stripped != text)
    Fail("StripMarkup changed a text without markup");
  if (IsCp932(text) && !IsCp932(stripped))
    Fail("StripMarkup cut a character");
  const std::string cell = CleanCell(text);
  if (IsCp932(text) && !IsCp932(cell))
    Fail("CleanCell cut a character");
}

void CheckTextBetween(const std::string& text, const std::string& start,
                      const std::string& end) {
  const std::string value = TextBetween(text, start, end);
  const std::size_t at = start.empty() ? std::string::npos : text.find(start);
  if (at == std::string::npos) {
    if (!value.empty())
      Fail("TextBetween found a start marker that is not there");
    return;
  }
  if (text.compare(at + start.size(), value.size(), value) != 0)
    Fail("TextBetween gave what does not follow the start marker");
  if (!end.empty() && Contains(value, end))
    Fail("TextBetween ran past the end marker");
}

void CheckKeepDigits(const std::string& text) {
  const std::string digits = KeepDigits(text);
  if (digits != text &&
      digits.find_first_not_of("0123456789") != std::string::npos)
    Fail("KeepDigits kept a byte that is not a digit");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::vector<std::string> parts = SplitParts(data, size);
  const std::string& text = parts[0];
  CheckStripMarkup(text);
  CheckTextBetween(text, PartAt(parts, 1).value_or("src=\""),
                   PartAt(parts, 2).value_or("\""));
  CheckKeepDigits(text);
  return 0;
}
