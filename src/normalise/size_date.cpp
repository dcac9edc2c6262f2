// The size and publication date rows.
#include "common/record.h"
#include "common/text.h"
#include "normalise/normalise.h"

#include <climits>

namespace {

// A text read as a signed decimal integer of the 32-bit range, or -1 when
// it is not one.
long long SignedOrMinusOne(const std::string& text) {
  size_t pos = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
  if (pos == text.size())
    return -1;
  long long value = 0;
  for (size_t i = pos; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9')
      return -1;
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX)
      return -1;
  }
  return text[0] == '-' ? -value : value;
}

// 00-59 are this century, 60-99 the last.
std::string FullYear(long long twoDigits) {
  return std::to_string(twoDigits < 60 ? twoDigits + 2000 : twoDigits + 1900);
}

std::string LastTwo(const std::string& text) {
  return text.size() <= 2 ? text : text.substr(text.size() - 2);
}

struct Separators {
  std::string year, month, day;
};

struct DateParts {
  std::string year, month = "00", day = "00";
};

// The bytes before the first separator, trimmed; text becomes the bytes
// after it. False when the separator is not there.
bool CutBefore(std::string& text, const std::string& separator,
               std::string& before) {
  size_t at = text.find(separator);
  if (at == std::string::npos)
    return false;
  before = Trim(std::string_view(text).substr(0, at));
  text.erase(0, at + separator.size());
  return true;
}

void ReadSeparated(std::string text, const Separators& marks,
                   DateParts& parts) {
  CutBefore(text, marks.year, parts.year);
  long long year = SignedOrMinusOne(parts.year);
  if (year < 0)
    parts.year.clear();
  else if (parts.year.size() < 4)
    parts.year = FullYear(year);
  std::string month;
  if (CutBefore(text, marks.month, month)) {
    parts.month = "00" + month;
    std::string day;
    parts.day =
        LastTwo("00" + (CutBefore(text, marks.day, day) ? day : Trim(text)));
  } else {
    parts.month = "00" + Trim(text);
  }
  parts.month = LastTwo(parts.month);
}

bool ReadDigitsOnly(const std::string& raw, DateParts& parts) {
  const std::string text = Trim(raw);
  if (SignedOrMinusOne(text) <= 0)
    return false;
  if (text.size() == 8) {
    parts = {text.substr(0, 4), text.substr(4, 2), text.substr(6, 2)};
  } else if (text.size() == 6 &&
             (text.compare(0, 2, "19") == 0 || text.compare(0, 2, "20") == 0)) {
    parts.year = text.substr(0, 4);
    parts.month = text.substr(4, 2);
  } else if (text.size() == 6) {
    parts = {FullYear(SignedOrMinusOne(text.substr(0, 2))), text.substr(2, 2),
             text.substr(4, 2)};
  } else {
    return false;
  }
  return true;
}

bool IsTwoDigitValue(const std::string& text) {
  return text != "00" && text.size() >= 2 && text[0] >= '0' && text[0] <= '9' &&
         text[1] >= '0' && text[1] <= '9';
}

} // namespace

bool NormaliseBookSize(const std::string& text) {
  static const std::pair<std::string, std::string> kReplacements[] = {
      {FromUtf8(u8"判"), ""},
      {FromUtf8(u8"版"), ""},
      {FromUtf8(u8"－"), "-"},
      {"4-6", FromUtf8(u8"四六")},
      {FromUtf8(u8"変形"), FromUtf8(u8"変")},
      {FromUtf8(u8"変型"), FromUtf8(u8"変")},
      {FromUtf8(u8"変"), FromUtf8(u8"変型")}};
  std::string size = NarrowAlnum(text);
  for (const auto& [from, to] : kReplacements)
    size = ReplaceAll(size, from, to);
  Book.BookSize = size;
  return true;
}

bool NormalisePubDate(const std::string& text) {
  static const Separators kKanji = {FromUtf8(u8"年"), FromUtf8(u8"月"),
                                    FromUtf8(u8"日")};
  static const Separators kDots = {".", ".", "Dummy"};
  static const Separators kSlashes = {"/", "/", "Dummy"};
  const std::string date = NarrowAlnum(text);
  DateParts parts;
  bool result = true;
  if (Contains(date, kKanji.year))
    ReadSeparated(date, kKanji, parts);
  else if (Contains(date, "."))
    ReadSeparated(date, kDots, parts);
  else if (Contains(date, "/"))
    ReadSeparated(date, kSlashes, parts);
  else
    result = ReadDigitsOnly(date, parts);
  Book.PubYear = parts.year;
  if (IsTwoDigitValue(parts.month))
    Book.PubMonth = parts.month;
  if (IsTwoDigitValue(parts.day))
    Book.PubDay = parts.day;
  return result;
}
