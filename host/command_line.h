// The stand-in host's command line: one plug-in call per invocation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How ISBNChkFunc answers: as a careful host does, or with the line as it
// came (to hand the plug-in codes no real host would pass).
enum class CheckMode { Isbn, Identity };

struct Options {
  bool help = false;
  bool info = false; // call funcGetInfo instead of DownlaodFunc
  std::uint32_t bufferSize = 256;
  std::optional<std::string> plugin; // unset: tomefinder.so beside us
  std::optional<std::string> dataDir;
  std::optional<std::string> outFile;
  std::optional<std::string> catalogueDir;
  std::optional<std::string> codesFile;
  std::vector<std::string> codes;
  CheckMode check = CheckMode::Isbn;
  std::uint32_t offlineFrom = 0; // 0: InternetConnectFunc always answers true
  bool show = false;
};

// Parses the arguments after the program name. False with a one-line
// reason in error when they do not form a valid invocation.
bool ParseCommandLine(const std::vector<std::string>& args, Options& options,
                      std::string& error);

// The code list DownlaodFunc gets for codes given as arguments: joined
// with CR LF, nothing after the last one.
std::string JoinCodes(const std::vector<std::string>& codes);

std::string UsageText();
