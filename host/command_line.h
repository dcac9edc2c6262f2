// The stand-in host's command line: one plug-in call per invocation, the
// readable display of a result file, or the dictionary helpers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How ISBNChkFunc answers: as a careful host does, or with the line as it
// came (to hand the plug-in codes no real host would pass).
enum class CheckMode { Isbn, Identity };

// How "show" prints a result file.
enum class ShowFormat { Text, Json, Csv };

// How live mode treats the catalogue's web server. Times in milliseconds.
struct LiveOptions {
  std::uint32_t intervalMs = 1000; // least time between two requests
  std::uint32_t connectTimeoutMs = 10000;
  std::uint32_t timeoutMs = 30000; // one attempt, from connect to last byte
  std::uint32_t retries = 2;       // further attempts after a transient fault
  std::uint32_t backoffMs = 1000;  // wait before the first retry, then doubled
  std::optional<std::string> recordDir;
};

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
  std::uint32_t stopAt = 0;      // 0: the host never raises the stop request
  bool show = false;
  std::optional<LiveOptions> live; // set: downloads go over HTTP

  // "show [--json|--csv] FILE": print a result file, call no plug-in.
  std::optional<std::string> showFile;
  ShowFormat showFormat = ShowFormat::Text;

  // "key [--raw] TEXT...": print the dictionary key of each text.
  std::optional<std::vector<std::string>> keyTexts;
  bool keyRaw = false; // print the keys as code page 932 bytes

  // "check-dictionaries DIR": report the dictionary lines that cannot work.
  std::optional<std::string> checkDir;
};

// Parses the arguments after the program name. False with a one-line
// reason in error when they do not form a valid invocation.
bool ParseCommandLine(const std::vector<std::string>& args, Options& options,
                      std::string& error);

// The code list DownlaodFunc gets for codes given as arguments: joined
// with CR LF, nothing after the last one.
std::string JoinCodes(const std::vector<std::string>& codes);

std::string UsageText();
