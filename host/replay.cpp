#include "replay.h"

#include "platform/platform.h"
#include "text_lines.h"

#include <cstdio>
#include <string_view>

namespace {

// The path and query of "scheme://host/path?query", that is everything
// after the host; false for a text without "scheme://".
bool PathAndQuery(std::string_view address, std::string_view& rest) {
  std::size_t scheme = address.find("://");
  if (scheme == std::string_view::npos)
    return false;
  std::size_t end = address.find_first_of("/?#", scheme + 3);
  rest =
      end == std::string_view::npos ? std::string_view() : address.substr(end);
  return true;
}

void Warn(const std::string& text) {
  std::fprintf(stderr, "shelfix: %s\n", text.c_str());
}

} // namespace

bool ParseReplayIndex(const std::string& text,
                      std::vector<ReplayEntry>& entries, std::string& error) {
  entries.clear();
  std::vector<std::string> lines = SplitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] == '#')
      continue;
    std::size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0 || tab + 1 == line.size()) {
      error = "line " + std::to_string(i + 1) + ": not ADDRESS<TAB>FILE";
      return false;
    }
    entries.push_back({line.substr(0, tab), line.substr(tab + 1)});
  }
  return true;
}

bool LoadCatalogue(const std::string& dir, Catalogue& catalogue,
                   std::string& error) {
  catalogue.dir = dir;
  const std::string indexPath = JoinPath(dir, "index.tsv");
  std::string text;
  if (!ReadWholeFile(indexPath, text)) {
    error = "cannot read " + indexPath;
    return false;
  }
  if (!ParseReplayIndex(text, catalogue.entries, error)) {
    error = indexPath + ", " + error;
    return false;
  }
  for (const ReplayEntry& entry : catalogue.entries) {
    if (!FileExists(JoinPath(dir, entry.file))) {
      error = indexPath + " lists " + entry.file + ", which is not there";
      return false;
    }
  }
  return true;
}

bool ReplayAddressMatches(const std::string& pattern,
                          const std::string& address) {
  if (!pattern.starts_with('/'))
    return pattern == address;
  std::string_view rest;
  return PathAndQuery(address, rest) && rest == pattern;
}

const ReplayEntry* FindReplay(const Catalogue& catalogue,
                              const std::string& address) {
  for (const ReplayEntry& entry : catalogue.entries)
    if (ReplayAddressMatches(entry.address, address))
      return &entry;
  return nullptr;
}

bool ReplayDownload(const Catalogue* catalogue, const std::string& localPath,
                    const std::string& address) {
  const ReplayEntry* entry =
      catalogue ? FindReplay(*catalogue, address) : nullptr;
  if (entry) {
    std::string page;
    const std::string source = JoinPath(catalogue->dir, entry->file);
    if (ReadWholeFile(source, page) && WriteWholeFile(localPath, page))
      return true;
    Warn("cannot copy " + source + " to " + localPath);
  }
  // A page left from an earlier download must not pass for this one.
  if (FileExists(localPath))
    DeleteFileAt(localPath);
  return false;
}
