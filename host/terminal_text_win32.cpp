// The Windows command line and console speak the ANSI code page (932 on a
// Japanese system). argv is the wide command line in that code page, with
// "?" or a look-alike for what the code page lacks; the wide command line
// still holds the characters as typed.
#include "terminal_text.h"

#include "platform/platform.h"

#include <windows.h>

#include <shellapi.h>

namespace {

std::u16string AnsiToWide(const std::string& text, DWORD flags) {
  if (text.empty())
    return {};
  const int size = static_cast<int>(text.size());
  const int n =
      MultiByteToWideChar(CP_ACP, flags, text.data(), size, nullptr, 0);
  if (n <= 0)
    return {};
  std::u16string wide(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_ACP, flags, text.data(), size,
                      reinterpret_cast<wchar_t*>(wide.data()), n);
  return wide;
}

std::string WideToAnsi(const std::u16string& wide) {
  if (wide.empty())
    return {};
  const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
  const int size = static_cast<int>(wide.size());
  const int n =
      WideCharToMultiByte(CP_ACP, 0, units, size, nullptr, 0, nullptr, nullptr);
  if (n <= 0)
    return {};
  std::string text(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, units, size, text.data(), n, nullptr, nullptr);
  return text;
}

// The arguments of the wide command line after the program's name.
std::vector<std::u16string> WideArguments() {
  std::vector<std::u16string> args;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!list)
    return args;
  for (int i = 1; i < count; ++i)
    args.emplace_back(reinterpret_cast<const char16_t*>(list[i]));
  LocalFree(list);
  return args;
}

std::optional<std::string> Cp932Of(const std::u16string& wide) {
  std::string cp932 = WideToCp932(wide);
  if (Cp932ToWide(cp932) != wide)
    return std::nullopt;
  return cp932;
}

} // namespace

std::vector<std::optional<std::string>>
ArgumentsToCp932(const std::vector<std::string>& args) {
  // Each argument is the next wide argument whose ANSI form it is; the
  // arguments between them (the command and its options) are passed over.
  const std::vector<std::u16string> wideArgs = WideArguments();
  std::vector<std::optional<std::string>> texts;
  std::size_t next = 0;
  for (const std::string& arg : args) {
    std::size_t match = next;
    while (match < wideArgs.size() && WideToAnsi(wideArgs[match]) != arg)
      ++match;
    if (match < wideArgs.size()) {
      texts.push_back(Cp932Of(wideArgs[match]));
      next = match + 1;
      continue;
    }
    // Not found on the wide command line: argv's own text, which holds no
    // character that the code page lacks.
    const std::u16string wide = AnsiToWide(arg, MB_ERR_INVALID_CHARS);
    texts.push_back(wide.empty() && !arg.empty() ? std::nullopt
                                                 : Cp932Of(wide));
  }
  return texts;
}

std::string Cp932ToTerminal(const std::string& cp932) {
  return WideToAnsi(Cp932ToWide(cp932));
}
