// The author pages: the reading of each linked author and, with the author
// notes on, the years of birth and death, matched back to the authors of
// the statement.
#include "catalogue/detail_page.h"

#include "catalogue/markup.h"
#include "common/host.h"
#include "common/record.h"
#include "common/text.h"
#include "platform/platform.h"
#include "plugin/driver.h"

#include <string>

namespace {

constexpr int kLinks = 3;
// Only the first two statement authors have reading fields.
constexpr int kMatched = 2;

// What one author page told about its author.
struct PageFacts {
  std::string reading; // half-width
  std::string born;
  std::string died;
  bool used = false; // matched to a statement author by name
};

// How the name matching went for one statement author. Only a match is
// acted on; an author without one is left to the second pass.
enum class MatchMark { NotLooked, Present, Absent };

// The state of one stage run; the record is written only at its end.
struct StageWork {
  PageFacts pages[kLinks];
  std::string chosen[kMatched];
  MatchMark marks[kMatched] = {MatchMark::NotLooked, MatchMark::NotLooked};
  std::string note;
};

std::string HalfWidthOf(const std::string& text) {
  return WideToCp932(ToHalfWidth(Cp932ToWide(text)));
}

std::string FullWidthOf(const std::string& text) {
  return WideToCp932(ToFullWidth(Cp932ToWide(text)));
}

// The cleaned value two lines below a label line; false for a label on one
// of the last two lines, which has no value line.
bool ValueBelow(const StringList& lines, size_t label, std::string& value) {
  if (label + 2 >= lines.size())
    return false;
  value = CleanCell(lines[label + 2]);
  return true;
}

void ReadReading(const StringList& lines, size_t j, PageFacts& facts) {
  static const std::string kLabel = FromUtf8(u8"人物名ヨミ");
  std::string value;
  if (Contains(lines[j], kLabel) && ValueBelow(lines, j, value))
    facts.reading = HalfWidthOf(value);
}

void ReadBirthYear(const StringList& lines, size_t j, PageFacts& facts) {
  static const std::string kLabel = FromUtf8(u8"生年");
  static const std::string kUnknown = FromUtf8(u8"不明");
  std::string value;
  if (Contains(lines[j], kLabel) && ValueBelow(lines, j, value))
    facts.born = value == "-" ? kUnknown : value;
}

void ReadDeathYear(const StringList& lines, size_t j, PageFacts& facts) {
  static const std::string kLabel = FromUtf8(u8"没年");
  std::string value;
  if (Contains(lines[j], kLabel) && ValueBelow(lines, j, value))
    facts.died = value == "-" ? std::string() : value;
}

// Every line is tested for every label, so a later row overwrites an
// earlier one.
void ReadAuthorPage(const StringList& lines, bool notesMode, PageFacts& facts) {
  for (size_t j = 0; j < lines.size(); ++j) {
    ReadReading(lines, j, facts);
    if (notesMode) {
      ReadBirthYear(lines, j, facts);
      ReadDeathYear(lines, j, facts);
    }
  }
}

// Downloads and reads the pages of the links that have an address. False
// as soon as a download leaves no file; a download that leaves an earlier
// file in place cannot be told apart and that file is read.
bool ReadAuthorPages(const AuthorStage& stage, StageWork& work) {
  const std::string scratch = DataDir + "Temp.html";
  for (int k = 0; k < kLinks; ++k) {
    const std::string& address = stage.links[k].address;
    if (address.empty())
      continue;
    Host.HTTPDownloadFunc(scratch.c_str(), address.c_str());
    if (!ReadPageFile(scratch))
      return false;
    ReadAuthorPage(PrepareReadPage(), stage.notesMode, work.pages[k]);
  }
  return true;
}

// A name whose full-width form is more than 1.8 times as long is written
// mostly in half-width characters (Latin letters, half-width katakana).
bool IsMostlyHalfWidth(const std::string& text) {
  size_t n = text.size();
  size_t m = FullWidthOf(text).size();
  return 5 * m > 9 * n;
}

// A name in Latin letters is its own reading, in the width the link shows,
// unless the page's reading is the same text in another width.
void ApplyWidthRule(const std::string& linkText, std::string& reading) {
  if (!IsMostlyHalfWidth(linkText))
    return;
  if (reading.empty() || reading == "-" ||
      FullWidthOf(reading) != FullWidthOf(linkText))
    reading = linkText;
}

void ChooseLinkReadings(const AuthorStage& stage, StageWork& work) {
  for (int k = 0; k < kLinks; ++k)
    if (!stage.links[k].text.empty())
      ApplyWidthRule(stage.links[k].text, work.pages[k].reading);
}

// The first author's life years, unless the statement gave a note.
void TakeLifeYears(const AuthorStage& stage, int author, const PageFacts& facts,
                   StageWork& work) {
  static const std::string kTilde = FromUtf8(u8"～");
  if (author == 0 && stage.notesMode && stage.note.empty())
    work.note = facts.born + kTilde + facts.died;
}

// The first link whose text occurs in the statement name (spaces removed).
// A link already used may match the second author as well.
void MatchByName(const AuthorStage& stage, int author, StageWork& work) {
  const std::string name = ReplaceAll(stage.authors[author], " ", "");
  for (int j = 0; j < kLinks; ++j) {
    const std::string& text = stage.links[j].text;
    if (text.empty() || !Contains(name, text)) {
      work.marks[author] = MatchMark::Absent;
      continue;
    }
    const std::string& statement = stage.readings[author];
    work.chosen[author] = statement.empty() ? work.pages[j].reading : statement;
    work.marks[author] = MatchMark::Present;
    work.pages[j].used = true;
    TakeLifeYears(stage, author, work.pages[j], work);
    return;
  }
}

void MatchAuthors(const AuthorStage& stage, StageWork& work) {
  for (int i = 0; i < kMatched && !stage.authors[i].empty(); ++i)
    MatchByName(stage, i, work);
}

// An unmatched author without a statement reading collects the readings
// of every unused link, joined by "-". Nothing is marked used here, so
// both authors can collect the same readings.
void CollectUnusedReadings(const AuthorStage& stage, int author,
                           StageWork& work) {
  std::string& chosen = work.chosen[author];
  for (const PageFacts& page : work.pages) {
    if (page.used || page.reading.empty())
      continue;
    if (chosen.empty()) {
      chosen = page.reading;
      TakeLifeYears(stage, author, page, work);
    } else {
      chosen += "-" + page.reading;
    }
  }
}

void ResolveUnmatched(const AuthorStage& stage, StageWork& work) {
  for (int i = 0; i < kMatched && !stage.authors[i].empty(); ++i) {
    if (work.marks[i] == MatchMark::Present)
      continue;
    if (!stage.readings[i].empty())
      work.chosen[i] = stage.readings[i];
    else
      CollectUnusedReadings(stage, i, work);
  }
}

void WriteResults(const AuthorStage& stage, const StageWork& work) {
  Book.Author1Reading = work.chosen[0];
  Book.Author2Reading = work.chosen[1];
  Book.Author1Note = stage.notesMode ? work.note : std::string();
}

} // namespace

bool RunAuthorPageStage(const AuthorStage& stage) {
  StageWork work;
  // The note stays as the statement analysis left it unless a page gives
  // the first author's years.
  work.note = Book.Author1Note;
  if (!ReadAuthorPages(stage, work))
    return false;
  ChooseLinkReadings(stage, work);
  MatchAuthors(stage, work);
  ResolveUnmatched(stage, work);
  WriteResults(stage, work);
  return true;
}
