// Recording live downloads as a replay catalogue: DIR/index.tsv and one
// file per page, in the layout --catalogue reads (see replay.h). A run
// that fails half-way leaves a catalogue of the pages fetched until then.
#pragma once

#include "replay.h"

#include <string>
#include <vector>

struct Recording {
  std::string dir;
  std::vector<ReplayEntry> entries; // the index as it stands on disk
};

// Creates DIR when it is not there; takes over an index.tsv already in it,
// so that several runs can record into one catalogue. False with the
// reason in error when DIR cannot be made or its index cannot be read.
bool OpenRecording(const std::string& dir, Recording& recording,
                   std::string& error);

// The ADDRESS an index line gets: the path and query ("/pro/?i=...") when
// the address has a path, so that the catalogue replays under any base
// address; otherwise the whole address.
std::string IndexAddress(const std::string& address);

// The file name of the number-th page recorded: the number, then the
// address's letters and digits, e.g. "0003-pro-i-9784000000017.html".
std::string PageFileName(std::size_t number, const std::string& indexAddress);

// The text of index.tsv for the entries.
std::string IndexText(const std::vector<ReplayEntry>& entries);

// Saves the page for the address: its file first, then the index. An
// address already in the index keeps its first page (replay answers with
// the first match anyway). An address that an index line cannot hold
// (a tab or a line break in it) is refused. False with the reason in error.
bool RecordPage(Recording& recording, const std::string& address,
                const std::string& page, std::string& error);
