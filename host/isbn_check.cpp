#include "isbn_check.h"

#include <string_view>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) {
  for (char c : text)
    if (!IsDigit(c))
      return false;
  return true;
}

int DigitValue(char c) { return c - '0'; }

// Spaces and hyphens are single bytes that cannot be the second byte of a
// code page 932 character, so dropping them byte by byte is safe.
std::string DropSpacesAndHyphens(const std::string& line) {
  std::string code;
  for (char c : line)
    if (c != ' ' && c != '-')
      code += c;
  return code;
}

// Nine digits and a check character (digit, X or x) whose weighted sum
// 10..1 is a multiple of 11.
bool ValidIsbn10(std::string_view code) {
  if (code.size() != 10 || !AllDigits(code.substr(0, 9)))
    return false;
  int sum = 0;
  for (int i = 0; i < 9; ++i)
    sum += (10 - i) * DigitValue(code[i]);
  char check = code[9];
  if (check == 'X' || check == 'x')
    sum += 10;
  else if (IsDigit(check))
    sum += DigitValue(check);
  else
    return false;
  return sum % 11 == 0;
}

// Thirteen digits with the EAN check: weights 1,3,1,3,... sum to a
// multiple of 10.
bool ValidEan13(std::string_view code) {
  if (code.size() != 13 || !AllDigits(code))
    return false;
  int sum = 0;
  for (int i = 0; i < 13; ++i)
    sum += (i % 2 == 0 ? 1 : 3) * DigitValue(code[i]);
  return sum % 10 == 0;
}

bool IsbnPrefix(std::string_view code) {
  return code.starts_with("978") || code.starts_with("979");
}

bool IsAsin(std::string_view code) {
  if (code.size() != 10 || !code.starts_with("B0"))
    return false;
  for (char c : code)
    if (!IsDigit(c) && !(c >= 'A' && c <= 'Z'))
      return false;
  return true;
}

// The ISBN-10 check character as the plug-in expects it: upper-case X.
std::string WithUpperCheck(std::string code) {
  if (code.size() >= 10 && code[9] == 'x')
    code[9] = 'X';
  return code;
}

std::string FromDoubleBarCode(const std::string& code) {
  if (code[13] == '2') {
    std::string isbn10 = code.substr(3, 10);
    return ValidIsbn10(isbn10) ? isbn10 : std::string();
  }
  std::string isbn13 = code.substr(0, 13);
  return ValidEan13(isbn13) ? isbn13 : std::string();
}

} // namespace

std::string CheckSearchCode(const std::string& line) {
  const std::string code = DropSpacesAndHyphens(line);
  if (code.size() == 26 && AllDigits(code))
    return FromDoubleBarCode(code);
  std::string_view view = code;
  if (code.size() == 18 && ValidIsbn10(view.substr(0, 10)) &&
      AllDigits(view.substr(10)))
    return WithUpperCheck(code);
  if (ValidIsbn10(code))
    return WithUpperCheck(code);
  if (code.size() == 13 && IsbnPrefix(code) && ValidEan13(code))
    return code;
  if (IsAsin(code))
    return code;
  return {};
}
