#include "command_line.h"

#include <set>
#include <utility>

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

// The options of live mode; each of them needs --live.
const char* const kLiveOnly[] = {"--record",  "--interval", "--connect-timeout",
                                 "--timeout", "--retries",  "--backoff"};

// More than this many retries only keeps a dead catalogue busy.
constexpr std::uint32_t kMaxRetries = 10;

bool TakesValue(const std::string& name) {
  static const std::set<std::string> withValue = {
      "--buffer-size", "--plugin",  "--data-dir",     "--out",
      "--catalogue",   "--check",   "--offline-from", "--codes-file",
      "--stop-at",     "--record",  "--interval",     "--connect-timeout",
      "--timeout",     "--retries", "--backoff"};
  return withValue.count(name) != 0;
}

// A time in milliseconds; a time-out of 0 would mean none at all.
bool ParseMilliseconds(const std::string& name, const std::string& value,
                       bool zeroAllowed, std::uint32_t& ms,
                       std::string& error) {
  if (ParseUnsigned(value, ms) && (zeroAllowed || ms != 0))
    return true;
  error = name + " wants milliseconds from " + (zeroAllowed ? "0" : "1") +
          " to 4294967295";
  return false;
}

bool ApplyLiveValue(const std::string& name, const std::string& value,
                    LiveOptions& live, std::string& error) {
  if (name == "--record") {
    live.recordDir = value;
    return true;
  }
  if (name == "--retries") {
    if (ParseUnsigned(value, live.retries) && live.retries <= kMaxRetries)
      return true;
    error = "--retries wants a number from 0 to " + std::to_string(kMaxRetries);
    return false;
  }
  if (name == "--interval")
    return ParseMilliseconds(name, value, true, live.intervalMs, error);
  if (name == "--backoff")
    return ParseMilliseconds(name, value, true, live.backoffMs, error);
  if (name == "--connect-timeout")
    return ParseMilliseconds(name, value, false, live.connectTimeoutMs, error);
  return ParseMilliseconds(name, value, false, live.timeoutMs, error);
}

bool ApplyValue(const std::string& name, const std::string& value,
                Options& options, LiveOptions& live, std::string& error) {
  for (const char* liveOnly : kLiveOnly)
    if (name == liveOnly)
      return ApplyLiveValue(name, value, live, error);
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
  } else if (name == "--stop-at") {
    if (!ParseUnsigned(value, options.stopAt) || options.stopAt == 0) {
      error = "--stop-at wants a call number from 1 on";
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
  } else if (name == "--live") {
    options.live = LiveOptions{};
  } else {
    error = "unknown option " + name;
    return false;
  }
  return true;
}

bool CheckLiveCombination(const std::set<std::string>& seen, const Options& o,
                          std::string& error) {
  if (o.live && o.catalogueDir) {
    error = "--live and --catalogue exclude each other";
    return false;
  }
  if (o.live)
    return true;
  for (const char* liveOnly : kLiveOnly) {
    if (seen.count(liveOnly)) {
      error = std::string(liveOnly) + " goes with --live only";
      return false;
    }
  }
  return true;
}

// "show [--json|--csv] [--] FILE".
bool ParseShow(const std::vector<std::string>& args, Options& options,
               std::string& error) {
  bool formatGiven = false;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--json" || arg == "--csv")) {
      if (formatGiven) {
        error = "show takes one of --json and --csv";
        return false;
      }
      formatGiven = true;
      options.showFormat = arg == "--json" ? ShowFormat::Json : ShowFormat::Csv;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      error = "show: unknown option " + arg;
      return false;
    } else if (options.showFile) {
      error = "show takes one result file";
      return false;
    } else {
      options.showFile = arg;
    }
  }
  if (!options.showFile) {
    error = "show wants a result file";
    return false;
  }
  return true;
}

// "key [--raw] [--] TEXT...".
bool ParseKey(const std::vector<std::string>& args, Options& options,
              std::string& error) {
  std::vector<std::string> texts;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg == "--raw") {
      options.keyRaw = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      error = "key: unknown option " + arg;
      return false;
    } else {
      texts.push_back(arg);
    }
  }
  if (texts.empty()) {
    error = "key wants at least one text";
    return false;
  }
  options.keyTexts = std::move(texts);
  return true;
}

// "check-dictionaries [--] DIR".
bool ParseCheckDictionaries(const std::vector<std::string>& args,
                            Options& options, std::string& error) {
  std::size_t first = args.size() > 1 && args[1] == "--" ? 2 : 1;
  if (args.size() != first + 1 ||
      (first == 1 && args[1].size() > 1 && args[1][0] == '-')) {
    error = "check-dictionaries wants one data directory";
    return false;
  }
  options.checkDir = args[first];
  return true;
}

// Options that belong to one mode only; mixing them is a mistake in a
// script that we would rather report than ignore.
bool CheckCombination(const std::set<std::string>& seen, const Options& o,
                      std::string& error) {
  if (o.help)
    return true;
  if (!CheckLiveCombination(seen, o, error))
    return false;
  if (o.info) {
    for (const char* runOnly :
         {"--data-dir", "--out", "--catalogue", "--check", "--offline-from",
          "--stop-at", "--show", "--codes-file", "--live"}) {
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
  if (!args.empty() && args[0] == "show")
    return ParseShow(args, options, error);
  if (!args.empty() && args[0] == "key")
    return ParseKey(args, options, error);
  if (!args.empty() && args[0] == "check-dictionaries")
    return ParseCheckDictionaries(args, options, error);
  std::set<std::string> seen;
  LiveOptions live;
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
    if (!ApplyValue(arg, args[++i], options, live, error))
      return false;
  }
  if (options.live)
    options.live = live;
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
  shelfix.exe --data-dir DIR --out FILE [--catalogue DIR | --live [LIVE...]]
              [--check isbn|identity] [--offline-from N] [--stop-at N]
              [--plugin PATH] [--show] (--codes-file FILE | CODE...)
  shelfix.exe show [--json | --csv] FILE
  shelfix.exe key [--raw] TEXT...
  shelfix.exe check-dictionaries DIR

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
  --live              download over HTTP from the catalogue's web server
  --check isbn        ISBNChkFunc checks and cleans codes (default)
  --check identity    ISBNChkFunc returns each line unchanged
  --offline-from N    InternetConnectFunc answers false from its N-th call
  --stop-at N         raise the stop request during the N-th HTTPDownloadFunc
                      call, as a click on the wait window's stop button
  --show              print the result file readably (UTF-8) afterwards
  --help              this text

LIVE (times in milliseconds):
  --record DIR        save every page fetched as a catalogue --catalogue replays
  --interval MS       least time between two requests to a host (default 1000)
  --connect-timeout MS  time-out of one connection attempt (default 10000)
  --timeout MS        time-out of one request, first to last byte (default 30000)
  --retries N         retries after a time-out, a 5xx answer or a dropped
                      connection, 0 to 10 (default 2)
  --backoff MS        wait before the first retry, doubled for each further
                      one (default 1000)

show prints a result file as UTF-8: one record per book with the names of
its non-empty positions, and "$$" as a line break. --json prints one JSON
object a line, --csv UTF-8 CSV with a header line.

key prints the key under which the author and label dictionaries look
each TEXT up, one a line followed by LF, in the terminal's encoding (UTF-8;
the ANSI code page on Windows); --raw prints it as code page 932 bytes.

check-dictionaries reads AuthDB.dat, PubDB.dat and LabelsDB.dat in DIR,
and reports each line that cannot work as meant (a key not in key form, a
key an earlier line answers, an author line without its closing "|", a
publisher prefix a shorter one shadows, a line that is no code page 932,
mixed line ends) as FILE:LINE: WHAT, then a summary line. It writes
nothing to the files; a missing file is an empty dictionary.

exit status: 0 when the plug-in returned (or the file was shown, the keys
printed, the dictionaries found clean), 1 when it could not be called (or
the file could not be read, a TEXT cannot be written in code page 932, a
dictionary line was reported), 2 for a mistake on the command line (or a
data directory or dictionary file that cannot be read).
)";
}
