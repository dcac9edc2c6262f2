// Saved pages that answer the plug-in's downloads, so that a run needs no
// network and gives the same result every time.
//
// DIR/index.tsv holds lines ADDRESS<TAB>FILE, FILE relative to DIR; empty
// lines and lines starting with "#" are skipped, CR LF or LF ends a line.
// An ADDRESS starting with "/" stands for a path and query on any host (so
// a catalogue serves whatever base address the plug-in is pointed at);
// any other ADDRESS must equal the whole address. The first match wins.
#pragma once

#include <string>
#include <vector>

struct ReplayEntry {
  std::string address; // as written in the index
  std::string file;    // as written in the index, relative to the directory
};

struct Catalogue {
  std::string dir;
  std::vector<ReplayEntry> entries;
};

// Parses the index text. False with the line number and reason in error
// for a line that is not ADDRESS<TAB>FILE.
bool ParseReplayIndex(const std::string& text,
                      std::vector<ReplayEntry>& entries, std::string& error);

// Reads and parses DIR/index.tsv and checks that every listed file is
// there, so that a mistake in the catalogue shows before the run.
bool LoadCatalogue(const std::string& dir, Catalogue& catalogue,
                   std::string& error);

// Whether an index ADDRESS stands for the address the plug-in asks for.
bool ReplayAddressMatches(const std::string& pattern,
                          const std::string& address);

// The first entry for the address, null when none is listed.
const ReplayEntry* FindReplay(const Catalogue& catalogue,
                              const std::string& address);

// What HTTPDownloadFunc does: the listed file's bytes, as they are, at
// localPath; for an address not listed no file is left at localPath.
// True when the page was written.
bool ReplayDownload(const Catalogue* catalogue, const std::string& localPath,
                    const std::string& address);
