// Runs a shell command as the POSIX tests do: its standard output caught
// whole, its exit status read back.
#pragma once

#include <string>

// The argument quoted for the shell.
std::string ShellQuote(const std::string& arg);

struct CommandResult {
  int status = -1; // the exit status; -1 when the command did not exit
  std::string out;
};

// Runs command through the shell; a command that cannot be started fails
// the test and gives status -1.
CommandResult RunCommand(const std::string& command);
