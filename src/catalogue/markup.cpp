#include "catalogue/markup.h"

std::string TextBetween(std::string_view text, std::string_view start,
                        std::string_view end) {
  if (start.empty())
    return {};
  size_t found = text.find(start);
  if (found == std::string_view::npos)
    return {};
  std::string_view rest = text.substr(found + start.size());
  if (!end.empty())
    rest = rest.substr(0, rest.find(end));
  return std::string(rest);
}

std::string KeepDigits(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9')
      digits += c;
  return digits.empty() ? text : digits;
}
