// Text between the terminal and code page 932, for the commands that take
// names on the command line and print dictionary text: UTF-8 on POSIX, the
// ANSI code page on Windows (the code page in which main's argv arrives).
#pragma once

#include <optional>
#include <string>
#include <vector>

// Command-line arguments, in the order in which they stand on the command
// line, in code page 932; nullopt for one that holds a character code page
// 932 cannot write (or bytes that are no text of the terminal's encoding).
// On Windows the check is made on the wide command line, because argv has
// already put "?" or a look-alike in place of such a character.
std::vector<std::optional<std::string>>
ArgumentsToCp932(const std::vector<std::string>& args);

// A code page 932 text in the terminal's encoding, for printing. A byte
// sequence that is no character shows as the code page's default
// character.
std::string Cp932ToTerminal(const std::string& cp932);
