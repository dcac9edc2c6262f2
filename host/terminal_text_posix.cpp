// The POSIX terminal speaks UTF-8.
#include "terminal_text.h"

#include "platform/platform.h"

std::vector<std::optional<std::string>>
ArgumentsToCp932(const std::vector<std::string>& args) {
  std::vector<std::optional<std::string>> texts;
  for (const std::string& arg : args) {
    const std::u16string wide = Utf8ToWide(arg);
    std::string cp932 = WideToCp932(wide);
    // Malformed UTF-8 decodes to U+FFFD, which code page 932 lacks; a
    // character it lacks comes back as "?" or as a look-alike.
    if (Cp932ToWide(cp932) == wide)
      texts.emplace_back(std::move(cp932));
    else
      texts.emplace_back();
  }
  return texts;
}

std::string Cp932ToTerminal(const std::string& cp932) {
  return WideToUtf8(Cp932ToWide(cp932));
}
