// The width maps and the upper-casing of a Japanese Windows: the system's
// own, under the user's default locale.
#include "platform/platform.h"

#include <windows.h>

#include <climits>

namespace {

bool KnownFlags(std::uint32_t flags) {
  return flags == kMapHalfWidth || flags == kMapFullWidth;
}

} // namespace

std::u16string LocaleMapWide(const std::u16string& text, std::uint32_t flags) {
  if (!KnownFlags(flags) || text.empty() || text.size() > INT_MAX / 2)
    return {};
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int needed =
      LCMapStringW(LOCALE_USER_DEFAULT, flags, source, length, nullptr, 0);
  if (needed <= 0)
    return {};
  std::u16string mapped(static_cast<size_t>(needed), u'\0');
  const int n = LCMapStringW(LOCALE_USER_DEFAULT, flags, source, length,
                             reinterpret_cast<wchar_t*>(mapped.data()), needed);
  mapped.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return mapped;
}

std::string LocaleMapAnsi(const std::string& text, std::uint32_t flags) {
  if (!KnownFlags(flags) || text.empty() || text.size() > INT_MAX / 2)
    return {};
  const int length = static_cast<int>(text.size());
  const int needed =
      LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0);
  if (needed <= 0)
    return {};
  std::string mapped(static_cast<size_t>(needed), '\0');
  const int n = LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length,
                             mapped.data(), needed);
  mapped.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return mapped;
}

std::string LocaleUpper(const std::string& text) {
  std::string upper = text;
  if (!upper.empty() && upper.size() <= MAXDWORD)
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}
