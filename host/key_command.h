// "shelfix.exe key [--raw] TEXT...": the key under which the plug-in looks
// a name up in the author and label dictionaries, so that a user can write
// a dictionary line's key as the lookup will search it.
#pragma once

#include <string>
#include <vector>

// The exit status of the key command.
constexpr int kKeyPrinted = 0;
constexpr int kKeyUnwritable = 1; // a TEXT that code page 932 cannot write

// The dictionary key of each text (command-line arguments in their order,
// in the terminal's encoding), computed by the plug-in's own DictionaryKey,
// one a line, each followed by LF: in the terminal's encoding, or as code
// page 932 bytes when raw. When a text cannot be written in code page 932,
// nothing is printed and each such text is named on standard error.
int RunKey(const std::vector<std::string>& texts, bool raw);
