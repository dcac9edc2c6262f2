// The key command: the plug-in's own key function applied to the command
// line's texts, so that what it prints is what the lookup searches.
#include "key_command.h"

#include "names/names.h"
#include "terminal_text.h"

#include <cstdio>

int RunKey(const std::vector<std::string>& texts, bool raw) {
  const auto cp932Texts = ArgumentsToCp932(texts);
  std::string out;
  bool unwritable = false;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (!cp932Texts[i]) {
      const std::string message = "shelfix: key: TEXT " +
                                  std::to_string(i + 1) + ", \"" + texts[i] +
                                  "\", holds a character that code page 932 "
                                  "cannot write\n";
      std::fputs(message.c_str(), stderr);
      unwritable = true;
      continue;
    }
    const std::string key = DictionaryKey(*cp932Texts[i]);
    out += (raw ? key : Cp932ToTerminal(key)) + "\n";
  }
  if (unwritable)
    return kKeyUnwritable;
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return kKeyPrinted;
}
