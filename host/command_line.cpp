#include "command_line.h"

#include <set>

namespace {

// A decimal number that fits 32 bits; no sign, no spaces.
bool ParseUnsigned(const std::string& text, std::uint32_t& value) {
  if (text.empty() || text.size() > 10)
    return false;
  std::uint64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (number > UINT32_MAX)
    return false;
  value = static_cast<std::uint32_t>(number);
  return true;
}

bool TakesValue(const std::string& name) {
  static const std::set<std::string> withValue = {
      "--buffer-size", "--plugin", "--data-dir",     "--out",
      "--catalogue",   "--check",  "--offline-from", "--codes-file"};
  return withValue.count(name) != 0;
}

bool ApplyValue(const std::string& name, const std::string& value,
                Options& options, std::string& error) {
  if (name == "--buffer-size") {
    if (!ParseUnsigned(value, options.bufferSize)) {
      error = "--buffer-size wants a number from 0 to 4294967295";
      return false;
    }
  } else if (name == "--offline-from") {
    if (!ParseUnsigned(value, options.offlineFrom) ||
        options.offlineFrom == 0) {
      error = "--offline-from wants a call number from 1 on";
      return false;
    }
  } else if (name == "--check") {
    if (value == "isbn") {
      options.check = CheckMode::Isbn;
    } else if (value == "identity") {
      options.check = CheckMode::Identity;
    } else {
      error = "--check wants isbn or identity";
      return false;
    }
  } else if (name == "--plugin") {
    options.plugin = value;
  } else if (name == "--data-dir") {
    options.dataDir = value;
  } else if (name == "--out") {
    options.outFile = value;
  } else if (name == "--catalogue") {
    options.catalogueDir = value;
  } else if (name == "--codes-file") {
    options.codesFile = value;
  }
  return true;
}

bool ApplyFlag(const std::string& name, Options& options, std::string& error) {
  if (name == "--help" || name == "-h") {
    options.help = true;
  } else if (name == "--info") {
    options.info = true;
  } else if (name == "--show") {
    options.show = true;
  } else {
    error = "unknown option " + name;
    return false;
  }
  return true;
}

// Options that belong to one mode only; mixing them is a mistake in a
// script that we would rather report than ignore.
bool CheckCombination(const std::set<std::string>& seen, const Options& o,
                      std::string& error) {
  if (o.help)
    return true;
  if (o.info) {
    for (const char* runOnly : {"--data-dir", "--out", "--catalogue", "--check",
                                "--offline-from", "--show", "--codes-file"}) {
      if (seen.count(runOnly)) {
        error = std::string(runOnly) + " does not go with --info";
        return false;
      }
    }
    if (!o.codes.empty()) {
      error = "--info takes no codes";
      return false;
    }
    return true;
  }
  if (seen.count("--buffer-size")) {
    error = "--buffer-size goes with --info only";
    return false;
  }
  if (!o.dataDir || !o.outFile) {
    error = "a run needs --data-dir and --out";
    return false;
  }
  if (o.codesFile && !o.codes.empty()) {
    error = "give the codes either in --codes-file or as arguments, not both";
    return false;
  }
  if (!o.codesFile && o.codes.empty()) {
    error = "a run needs --codes-file or at least one code";
    return false;
  }
  return true;
}

} // namespace

bool ParseCommandLine(const std::vector<std::string>& args, Options& options,
                      std::string& error) {
  options = Options{};
  std::set<std::string> seen;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      options.codes.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (!seen.insert(arg).second) {
      error = arg + " given twice";
      return false;
    }
    if (!TakesValue(arg)) {
      if (!ApplyFlag(arg, options, error))
        return false;
      continue;
    }
    if (i + 1 == args.size()) {
      error = arg + " wants a value";
      return false;
    }
    if (!ApplyValue(arg, args[++i], options, error))
      return false;
  }
  return CheckCombination(seen, options, error);
}

std::string JoinCodes(const std::vector<std::string>& codes) {
  std::string list;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (i != 0)
      list += "\r\n";
    list += codes[i];
  }
  return list;
}

std::string UsageText() {
  return R"(usage:
  shelfix.exe --info [--buffer-size N] [--plugin PATH]
  shelfix.exe --data-dir DIR --out FILE [--catalogue DIR]
              [--check isbn|identity] [--offline-from N] [--plugin PATH]
              [--show] (--codes-file FILE | CODE...)

A stand-in for the catalogue application: loads the plug-in, makes one
call and serves the plug-in's calls back into the host.

  --info              call funcGetInfo and print its five texts, one a line
  --buffer-size N     size of each funcGetInfo buffer (default 256)
  --plugin PATH       the plug-in (default tomefinder.so beside shelfix.exe)
  --data-dir DIR      data directory handed to DownlaodFunc as written
  --out FILE          result file handed to DownlaodFunc
  --codes-file FILE   the code list, the file's bytes as they are
  CODE...             the code list, joined with CR LF
  --catalogue DIR     answer downloads from DIR/index.tsv (ADDRESS<TAB>FILE);
                      an ADDRESS starting with "/" matches any host
  --check isbn        ISBNChkFunc checks and cleans codes (default)
  --check identity    ISBNChkFunc returns each line unchanged
  --offline-from N    InternetConnectFunc answers false from its N-th call
  --show              print the result file readably (UTF-8) afterwards
  --help              this text

exit status: 0 when the plug-in returned, 1 when it could not be called,
2 for a mistake on the command line.
)";
}
