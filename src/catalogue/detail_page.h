// The catalogue's pages: the detail page of a book read into the record,
// and the author pages that give the authors' readings.
#pragma once

#include "common/text.h"

#include <string>

// The page at path as code page 932 lines: the dashes repaired, the UTF-8
// decoded and the entities replaced. A page that is not well-formed UTF-8
// gives no lines.
StringList PreparePageText(const std::string& path);
// The same in two steps, with no look at the file before its read: first
// the file read, false when there is none at the path (as FileExists
// says); then its lines, as PreparePageText gives them, or the error
// PreparePageText throws for a file that cannot be read.
bool ReadPageFile(const std::string& path);
StringList PrepareReadPage();
// Gives back the memory PreparePageText keeps for the next page and
// forgets the switch file AuthorNotesMode read; the run's clean-up calls it.
void ReleasePageBuffers();
// A cell's text: the angle brackets 〈〉 as parentheses, the markup removed.
std::string CleanCell(const std::string& text);
// Whether "rivet.dat" in the data directory turns the author notes on. The
// file is read again only when its stamp (ReadFileStamp) has changed since
// the last read, so an edit takes effect at the next code.
bool AuthorNotesMode(const std::string& dataDir);

// Reads the detail page saved at path into Book; false when the code is to
// be dropped.
bool ParseDetailPage(const std::string& path, const std::string& baseAddress);

// --- Author pages ------------------------------------------------------------
struct AuthorLink {
  std::string address; // the author page's address, empty for no link
  std::string text;    // the linked name, half-width spaces removed
};

// What the detail page hands to the author page stage.
struct AuthorStage {
  bool notesMode = false;
  std::string authors[3];  // the statement's authors (or the link texts)
  std::string readings[2]; // their readings as the statement gave them
  std::string note;        // the first author's note as the statement gave it
  AuthorLink links[3];
};

// Downloads the linked author pages into the scratch file and decides
// Book.Author1Reading, Book.Author2Reading and Book.Author1Note. False when
// an author page is missing after its download.
bool RunAuthorPageStage(const AuthorStage& stage);
