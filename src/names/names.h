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

// Each dictionary is kept as its search text (every line of the file
// followed by CR LF), with an index of its keys. The search text is empty
// when the file is missing or empty.
//
// Replace the dictionary by the file's lines in dataDir (the file name is
// appended directly), unless the file is as it was when the dictionary was
// read (the same file, size and time stamps). A file that exists but
// cannot be read throws RunError and leaves the dictionary empty.
void LoadAuthorDictionary(const std::string& dataDir);
void LoadLabelDictionary(const std::string& dataDir);
void LoadPublisherDictionary(const std::string& dataDir);
void ReleaseAuthorDictionary();
void ReleaseLabelDictionary();
void ReleasePublisherDictionary();
const std::string& AuthorSearchText();
const std::string& LabelSearchText();
const std::string& PublisherSearchText();
// FindEntry over the dictionary's search text, through its index.
bool FindAuthorEntry(const std::string& key, const std::string& endMarker,
                     std::string& value);
bool FindLabelEntry(const std::string& key, const std::string& endMarker,
                    std::string& value);
bool FindPublisherEntry(const std::string& key, const std::string& endMarker,
                        std::string& value);

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
// Where FindEntry lands: the offset of key's first occurrence in
// dictionaryText, npos when it finds nothing (always for an empty key).
size_t EntryOffset(const std::string& dictionaryText, const std::string& key);
// Field n (from 1) of an author entry's value "name|reading|note": fields
// are separated by "|" standing as a character of its own; a missing field
// is empty.
std::string FieldAt(const std::string& value, int n);

// --- Finalisation ------------------------------------------------------------

// Book.Publisher from "PubDB.dat" by the publisher prefix of Book.Isbn (the
// code as written), the shortest prefix found first. Loads the publisher
// dictionary; the run's clean-up releases it.
void LookupPublisher(const std::string& dataDir);
// Places the persons of PersonList into Book.Author1-3, with the readings of
// the first two and the note of the first, through the author dictionary.
void FinaliseAuthors();
// Book.Series from the label dictionary by Book.Publisher and the series'
// key.
void NormaliseSeriesLabel();
