// NormalisePubDate and NormaliseBookSize on any cell text. The date fields
// come out in their fixed forms: a year of digits, with the sign it was
// written with (a year of four bytes or more stays as written, "-0000"
// too), a month and a day of two digits other than "00".
#include "support.h"

#include "common/record.h"
#include "normalise/normalise.h"

namespace {

bool IsDigits(const std::string& text) {
  return text.find_first_not_of("0123456789") == std::string::npos;
}

bool IsTwoDigitValue(const std::string& text) {
  return text.empty() || (text.size() == 2 && IsDigits(text) && text != "00");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ClearRecord();
  NormalisePubDate(text);
  const std::string year = Book.PubYear.find_first_of("+-") == 0
                               ? Book.PubYear.substr(1)
                               : Book.PubYear;
  if (!IsDigits(year))
    Fail("a year that is not a number:", Book.PubYear);
  if (!IsTwoDigitValue(Book.PubMonth) || !IsTwoDigitValue(Book.PubDay))
    Fail("a month or day that is not two digits:",
         Book.PubMonth + "/" + Book.PubDay);
  NormaliseBookSize(text);
  if (IsCp932(text) && !IsCp932(Book.BookSize))
    Fail("the size rules cut a character");
  return 0;
}
