// Names and dictionaries: the statement of responsibility split into
// persons with role tags, the persons placed into the author fields with
// the author dictionary, the publisher looked up by the code's prefix and
// the series by the label dictionary.
//
// The three dictionary files live in the data directory ("AuthDB.dat",
// "PubDB.dat", "LabelsDB.dat"), are edited by the user and only read here.
// Each is a list of lines; a lookup searches the text of all its lines, each
// followed by CR LF.
#pragma once

#include "common/text.h"

#include <string>

// --- Author statement --------------------------------------------------------

// The persons of one statement paragraph, in statement order: each the name
// (possibly followed by a reading in ［］) directly followed by its role
// tag. The detail page reader empties it before and after each page.
extern StringList PersonList;

// Appends the persons of a statement to PersonList; separator is the text
// between persons (";" on the detail page). Never fails.
//
// PersonList holds at most kMaxPersons persons: the persons after them are
// not taken. The placing tests each person against all placed before it,
// and the detail page reader places the whole list again for every
// statement row, so an unbounded list would let one page of a million
// persons, or of a million statement rows, hold the run for hours. A
// statement of responsibility names a handful of persons; the catalogue
// shortens a longer one with ほか.
inline constexpr size_t kMaxPersons = 100;
void SplitAuthorStatement(const std::string& statement,
                          const std::string& separator);

// --- Dictionary files --------------------------------------------------------

// The lines of "AuthDB.dat" and "LabelsDB.dat" as loaded for the code in
// progress; empty when the file is missing or empty.
extern StringList AuthorDictionary;
extern StringList LabelDictionary;

// Replace the dictionary by the file's lines in dataDir (the file name is
// appended directly). A file that exists but cannot be read throws RunError.
void LoadAuthorDictionary(const std::string& dataDir);
void LoadLabelDictionary(const std::string& dataDir);
void ReleaseAuthorDictionary();
void ReleaseLabelDictionary();
// The search text of each, built by its load: every line followed by CR LF.
const std::string& AuthorSearchText();
const std::string& LabelSearchText();

// The lines of a dictionary file (CR LF, LF or CR ends); none when nothing
// is at the path. Anything there that cannot be read throws RunError.
StringList ReadDictionaryFile(const std::string& path);
// Every line followed by CR LF, joined.
std::string SearchText(const StringList& lines);

// The form in which author names and series names are looked up: ・☆★♪
// removed, ニ as 二, the half-width form, no ASCII spaces, ｰ as "-".
std::string DictionaryKey(const std::string& text);
// Finds the first occurrence of key anywhere in dictionaryText (a byte
// search); value is the text after it up to the next endMarker, or all the
// rest when none follows. False (value untouched) when the key is absent.
bool FindEntry(const std::string& dictionaryText, const std::string& key,
               const std::string& endMarker, std::string& value);
// Field n (from 1) of an author entry's value "name|reading|note": fields
// are separated by "|" standing as a character of its own; a missing field
// is empty.
std::string FieldAt(const std::string& value, int n);

// --- Finalisation ------------------------------------------------------------

// Book.Publisher from "PubDB.dat" by the publisher prefix of Book.Isbn (the
// code as written), the shortest prefix found first.
void LookupPublisher(const std::string& dataDir);
// Places the persons of PersonList into Book.Author1-3, with the readings of
// the first two and the note of the first, through AuthorDictionary.
void FinaliseAuthors();
// Book.Series from LabelDictionary by Book.Publisher and the series' key.
void NormaliseSeriesLabel();
