#include "recorder.h"

#include "platform/platform.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxSlug = 60;

bool IsAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
         (c >= 'A' && c <= 'Z');
}

// Letters and digits kept, every run of anything else one "-".
std::string Slug(const std::string& text) {
  std::string slug;
  for (char c : text) {
    if (slug.size() >= kMaxSlug)
      break;
    if (IsAlnum(c))
      slug += c;
    else if (!slug.empty() && slug.back() != '-')
      slug += '-';
  }
  while (!slug.empty() && slug.back() == '-')
    slug.pop_back();
  return slug.empty() ? "page" : slug;
}

bool FitsAnIndexLine(const std::string& address) {
  return !address.empty() && address[0] != '#' &&
         address.find_first_of("\t\r\n") == std::string::npos;
}

bool Listed(const Recording& recording, const std::string& indexAddress) {
  for (const ReplayEntry& entry : recording.entries)
    if (entry.address == indexAddress)
      return true;
  return false;
}

// A new name, never one that an earlier recording left in the directory.
std::string FreshFileName(const Recording& recording,
                          const std::string& indexAddress) {
  std::size_t number = recording.entries.size() + 1;
  std::string name = PageFileName(number, indexAddress);
  while (PathExists(JoinPath(recording.dir, name)))
    name = PageFileName(++number, indexAddress);
  return name;
}

// Through a temporary file and a rename, so that a failed write never
// leaves a catalogue without its index.
bool WriteIndex(const Recording& recording, std::string& error) {
  const std::string index = JoinPath(recording.dir, "index.tsv");
  const std::string temporary = index + ".new";
  std::error_code failure;
  if (WriteWholeFile(temporary, IndexText(recording.entries))) {
    fs::rename(temporary, index, failure);
    if (!failure)
      return true;
    DeleteFileAt(temporary);
  }
  error = "cannot write " + index;
  return false;
}

} // namespace

bool OpenRecording(const std::string& dir, Recording& recording,
                   std::string& error) {
  recording = Recording{};
  recording.dir = dir;
  std::error_code failure;
  fs::create_directories(dir, failure);
  if (failure || !fs::is_directory(dir)) {
    error = "cannot make the recording directory " + dir;
    return false;
  }
  if (!PathExists(JoinPath(dir, "index.tsv")))
    return true;
  Catalogue earlier;
  if (!LoadCatalogue(dir, earlier, error))
    return false;
  recording.entries = std::move(earlier.entries);
  return true;
}

std::string IndexAddress(const std::string& address) {
  std::size_t scheme = address.find("://");
  if (scheme == std::string::npos)
    return address;
  std::size_t path = address.find_first_of("/?#", scheme + 3);
  if (path == std::string::npos || address[path] != '/')
    return address;
  return address.substr(path);
}

std::string PageFileName(std::size_t number, const std::string& indexAddress) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "%04zu-", number);
  return prefix + Slug(indexAddress) + ".html";
}

std::string IndexText(const std::vector<ReplayEntry>& entries) {
  std::string text = "# Pages recorded by shelfix.exe --live: the address "
                     "path and query, then the page file.\n";
  for (const ReplayEntry& entry : entries)
    text += entry.address + "\t" + entry.file + "\n";
  return text;
}

bool RecordPage(Recording& recording, const std::string& address,
                const std::string& page, std::string& error) {
  const std::string indexAddress = IndexAddress(address);
  if (!FitsAnIndexLine(indexAddress)) {
    error = "cannot record " + address + ": an index line cannot hold it";
    return false;
  }
  if (Listed(recording, indexAddress))
    return true;
  const std::string name = FreshFileName(recording, indexAddress);
  const std::string path = JoinPath(recording.dir, name);
  if (!WriteWholeFile(path, page)) {
    error = "cannot write " + path;
    return false;
  }
  recording.entries.push_back({indexAddress, name});
  if (WriteIndex(recording, error))
    return true;
  recording.entries.pop_back();
  DeleteFileAt(path);
  return false;
}
