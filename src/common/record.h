// The book record of the code in progress and its output line.
//
// TBase holds 66 byte strings. The output line has 68 positions: fields
// 1-19 are positions 1-19, fields 20-39 positions 21-40 and fields 40-66
// positions 42-68; positions 20 and 41 are always empty. The fields named
// ReservedNN (NN its output position) are written by nothing; they keep the
// line at the host's 68 positions.
#pragma once

#include <array>
#include <string>

struct TBase {
  std::string Isbn;           // 1
  std::string Title;          // 2
  std::string TitleReading;   // 3, half-width on output
  std::string Subtitle;       // 4
  std::string Volume;         // 5
  std::string Author1;        // 6
  std::string Author1Reading; // 7, half-width on output
  std::string Author2;        // 8
  std::string Author2Reading; // 9, half-width on output
  std::string Author3;        // 10
  std::string ClassCode;      // 11
  std::string Reserved12;
  std::string Publisher; // 13
  std::string Series;    // 14
  std::string Reserved15;
  std::string BookSize;       // 16
  std::string DetailUrl;      // 17
  std::string Extra1;         // 18
  std::string Extra2;         // 19
  std::string PurchaseStatus; // 21
  std::string Price;          // 22
  std::string TaxSetting;     // 23
  std::string Reserved24;
  std::string TaxSetting2; // 25
  std::string PubYear;     // 26
  std::string PubMonth;    // 27
  std::string PubDay;      // 28
  std::string Reserved29, Reserved30, Reserved31, Reserved32, Reserved33,
      Reserved34, Reserved35;
  std::string Pages;       // 36
  std::string Description; // 37
  std::string CoverUrl;    // 38
  std::string Reserved39, Reserved40;
  std::string Reserved42, Reserved43, Reserved44, Reserved45, Reserved46;
  std::string ReadStatus; // 47
  std::string Reserved48, Reserved49, Reserved50, Reserved51, Reserved52,
      Reserved53, Reserved54, Reserved55, Reserved56, Reserved57, Reserved58,
      Reserved59, Reserved60, Reserved61, Reserved62, Reserved63, Reserved64,
      Reserved65;
  std::string Author1Note; // 66
  std::string Reserved67, Reserved68;
};

inline constexpr int kOutputPositions = 68;

// The record of the code in progress.
extern TBase Book;

// The field at an output position (1-68), or null for positions 20 and 41.
std::string* FieldAtPosition(TBase& record, int position);

void ClearRecord();
// CR LF -> "$$", then '"' -> full-width right double quotation mark, then
// ',' -> full-width comma.
std::string EscapeField(const std::string& text);
// The whole text in its half-width form (katakana, Latin letters, digits,
// signs and the ideographic space).
std::string MapHalfWidth(const std::string& text);
// The comma text of the 68 positions of Book, without a line terminator.
// A lead byte without a second byte is written as "?", so that the line
// reads as 68 items whether it is read by bytes or by characters.
std::string MakeOutputLine();
