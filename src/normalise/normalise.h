// The field rules of the title, volume, size, date and label data, and the
// numeral and character conversions they share. None of them fails: every
// input yields a value, possibly empty.
#pragma once

#include <string>

// --- Conversions -------------------------------------------------------------
// Full-width digits and Latin letters (０-９, Ａ-Ｚ, ａ-ｚ) as ASCII.
std::string NarrowAlnum(const std::string& text);
// The comparison key: upper case, every character in its full-width form.
std::string MatchKey(const std::string& text);
// The ASCII digits at the end of the text, or the whole text when it does
// not end in one.
std::string TrailingDigits(const std::string& text);
bool IsAllDigits(const std::string& text);    // the empty text passes
bool IsKanjiNumeral(const std::string& text); // 一-十 百 壱 弐 参 拾 only
bool IsRomanNumeral(const std::string& text); // I V X i v x only

// --- Title and volume --------------------------------------------------------
// True when the text is a volume designation: digits, 上/中/下, kanji or
// Roman numerals (the empty text passes).
bool IsVolumeWord(const std::string& text);
// Takes the title row apart: writes Book.Title, fills an empty Book.Volume
// with a designation found in it, and returns the remaining notes.
std::string AnalyseTitle(const std::string& text);

// --- Size and date -----------------------------------------------------------
// Writes Book.BookSize in its short form. Always true.
bool NormaliseBookSize(const std::string& text);
// Writes Book.PubYear, and Book.PubMonth and Book.PubDay when valid. False
// when the text has no separator and is not a positive six- or eight-byte
// number.
bool NormalisePubDate(const std::string& text);

// --- Labels ------------------------------------------------------------------
// True when the text names a paperback, comics or novels line.
bool IsLabelKind(const std::string& text);
// When a file exists at markerPath: 文庫 -> A6 and コミック dropped in
// Book.BookSize, Book.Extra1/Extra2 set, Book.DetailUrl emptied. Always
// true.
bool ApplyPrivateOverride(const std::string& markerPath,
                          const std::string& extra1, const std::string& extra2);
