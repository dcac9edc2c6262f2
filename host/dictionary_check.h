// "shelfix.exe check-dictionaries DIR": the three dictionary files of a
// data directory read as the plug-in reads them, and every line that
// cannot work as its writer meant reported with its line number. The
// lookups themselves never complain: a line in the wrong form is only text
// in which a search may or may not land.
//
// What is reported, one finding a line:
//   - a line that is no valid code page 932 text (not checked further);
//   - a line that is not of its file's form (no "|" where the key ends);
//   - an author or series key that is not in key form, with the key form;
//   - a key that an earlier line answers: the lookup's search lands there
//     first, also where the earlier line holds the key inside another
//     field;
//   - an author line without its closing "|", whose entry runs on;
//   - a publisher prefix that is never reached, because a shorter prefix
//     line is found first or because it has not 2 to 6 characters;
//   - the first line whose line end differs from the file's first one.
// Blank lines are passed over. The files are only read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class DictionaryKind { Author, Publisher, Label };

// "AuthDB.dat", "PubDB.dat" or "LabelsDB.dat".
const char* DictionaryFileName(DictionaryKind kind);

struct DictionaryFinding {
  std::size_t line; // from 1, as the plug-in splits the file into lines
  std::string text; // code page 932
};

// The findings for a file's bytes, in line order.
std::vector<DictionaryFinding> CheckDictionary(DictionaryKind kind,
                                               const std::string& bytes);

// The exit status of check-dictionaries.
constexpr int kCheckClean = 0;
constexpr int kCheckFound = 1;      // at least one finding
constexpr int kCheckUnreadable = 2; // DIR, or a file in it, cannot be read

// Prints the report: "AuthDB.dat:12: ..." a finding, in the terminal's
// encoding, a line for a missing file (an empty dictionary, no fault) and
// a summary line. A file that exists but cannot be read is named on
// standard error and the others are still checked.
int RunCheckDictionaries(const std::string& dir);
