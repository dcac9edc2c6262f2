// The host of the benchmarks: the sixteen services the plug-in looks up in
// "shelfix.exe", exported by name from the benchmark executable itself
// (the build puts a link of that name beside it). Downloads are answered
// from pages held in memory: each is written into the scratch file, as
// the real host leaves a downloaded page there for the plug-in to read.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

struct Page {
  std::string path;  // the file the page was read from
  std::string bytes; // the page
};
// The catalogue's pages by address path and query ("/pro/?i=...").
using PageStore = std::unordered_map<std::string, Page>;

// Reads a replay catalogue (index.tsv: ADDRESS<TAB>FILE) into memory.
PageStore LoadPages(const std::string& catalogueDir);
// Reads a whole file; throws std::runtime_error when it cannot.
std::string ReadFileBytes(const std::string& path);

// The pages the services answer from; none until this is called.
void ServePages(const PageStore* pages);
// While set, every download's address path is appended to the last list,
// and each code check starts a new list: the pages of each code in turn.
void RecordDownloads(std::vector<std::vector<std::string>>* codes);
// While set, the timing of this benchmark is paused during each download:
// the host's work kept out of the plug-in's.
void PauseDuringDownloads(benchmark::State* state);
// The path and query of an address: what follows the scheme and host.
std::string AddressPath(const std::string& address);
// Writes the page as the download service does: the old file removed, the
// whole page into a new one, or no file for an address not in the store.
void PlacePage(const std::string& localPath, const std::string* page);
