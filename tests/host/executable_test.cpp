// The built shelfix.exe as scripts use it: exit statuses for mistakes and
// for a plug-in that is not there, and the names it exports.
#include "common/abi.h"
#include "support/command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

using Outcome = CommandResult;

// Runs shelfix.exe with the arguments (already quoted for the shell);
// standard error is dropped.
Outcome RunShelfix(const std::string& arguments) {
  return RunCommand(ShellQuote(SHELFIX_EXE) + " " + arguments + " 2>/dev/null");
}

TEST(Executable, HelpAndMistakes) {
  Outcome help = RunShelfix("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--catalogue"), std::string::npos);

  for (const char* mistake :
       {"", "--bogus", "--info --out x", "--data-dir d/ --out o",
        "--data-dir d/ --out o --check x 9784",
        "--data-dir d/ --out o --codes-file /nonexistent/codes 9784",
        "--data-dir d/ --out o --codes-file /nonexistent/codes",
        "--data-dir d/ --out o --catalogue /nonexistent/catalogue 9784",
        "--data-dir d/ --out o --live --record /dev/null/rec 9784", "show",
        "show --json"})
    EXPECT_EQ(RunShelfix(mistake).status, 2) << mistake;
}

TEST(Executable, PluginThatDoesNotLoad) {
  EXPECT_EQ(RunShelfix("--info --plugin /nonexistent/tomefinder.so").status, 1);
  EXPECT_EQ(RunShelfix("--plugin /nonexistent/tomefinder.so --data-dir d/ "
                       "--out /nonexistent/out 9784")
                .status,
            1);
  // The executable itself loads, but has neither entry point.
  EXPECT_EQ(
      RunShelfix(std::string("--info --plugin '") + SHELFIX_EXE + "'").status,
      1);
}

TEST(Executable, ShowOfAFileThatIsNotThere) {
  Outcome shown = RunShelfix("show /nonexistent/result.txt");
  EXPECT_EQ(shown.status, 1);
  EXPECT_EQ(shown.out, "");
}

// The network belongs to the host: the plug-in needs no libcurl.
TEST(Executable, OnlyTheHostLinksLibcurl) {
  auto needed = [](const std::string& file) {
    std::string command =
        std::string("'") + OBJDUMP_TOOL + "' -p '" + file + "'";
    FILE* pipe = popen(command.c_str(), "r");
    std::string libraries;
    char line[1024];
    while (pipe && std::fgets(line, sizeof line, pipe)) {
      std::istringstream fields(line);
      std::string tag, library;
      if (fields >> tag >> library && tag == "NEEDED")
        libraries += library + " ";
    }
    EXPECT_EQ(pipe ? pclose(pipe) : -1, 0) << command;
    return libraries;
  };
  EXPECT_NE(needed(SHELFIX_EXE).find("libcurl"), std::string::npos);
  const std::string plugin = needed(TOMEFINDER_SO);
  EXPECT_NE(plugin, "");
  EXPECT_EQ(plugin.find("libcurl"), std::string::npos) << plugin;
}

// The plug-in looks the sixteen services up by their plain C names; no
// other function of the host may be visible to it.
TEST(Executable, ExportsExactlyTheSixteenServices) {
  std::string command =
      std::string("'") + NM_TOOL + "' -D --defined-only '" + SHELFIX_EXE + "'";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> functions;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe)) {
    std::istringstream fields(line);
    std::string address, type, name;
    if (!(fields >> address >> type >> name) || (type != "T" && type != "W"))
      continue;
    // A template function of the C++ library that clang instantiates in
    // the executable is exported, so that libstdc++ binds to the same
    // copy; it is no function of the host's.
    if (type == "W" && (name.starts_with("_ZSt") || name.starts_with("_ZNSt") ||
                        name.starts_with("_ZNKSt")))
      continue;
    functions.insert(name);
  }
  ASSERT_EQ(pclose(pipe), 0) << command;
  std::set<std::string> expected(std::begin(kHostServiceNames),
                                 std::end(kHostServiceNames));
  EXPECT_EQ(functions, expected);
}

} // namespace
