// The detail page of a book: its rows read into the record.
//
// The page is not parsed as HTML. Every line is tested for the row labels;
// a row's value is taken from a fixed line below its label.
#include "catalogue/detail_page.h"

#include "Wait/wait.h"
#include "catalogue/markup.h"
#include "common/record.h"
#include "names/names.h"
#include "normalise/normalise.h"
#include "platform/platform.h"
#include "plugin/driver.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

// The last 13 lines of a page are value lines only.
constexpr size_t kTrailingValueLines = 13;
constexpr int kSeriesBlockLines = 10;

struct PageState {
  const StringList& lines;
  const std::string& baseAddress;
  bool titleSeen = false;
  bool statementEmpty = false;
  AuthorStage stage = {};
};

// PersonList lives for one parse: made empty at its start, released on
// every way out.
struct PersonListScope {
  PersonListScope() { PersonList.clear(); }
  ~PersonListScope() { PersonList.clear(); }
};

std::string WithoutBrackets(const std::string& text) {
  static const std::string kOpen = FromUtf8(u8"〈");
  static const std::string kClose = FromUtf8(u8"〉");
  return ReplaceAll(ReplaceAll(text, kOpen, " ("), kClose, ") ");
}

std::string WithoutSpaces(const std::string& text) {
  return ReplaceAll(text, " ", "");
}

// Every "<br>", in any letter case, as a line break.
std::string BreaksAsLines(const std::string& text) {
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    if (pos + 4 <= text.size() && text[pos] == '<' && text[pos + 3] == '>' &&
        std::tolower(static_cast<unsigned char>(text[pos + 1])) == 'b' &&
        std::tolower(static_cast<unsigned char>(text[pos + 2])) == 'r') {
      out += "\r\n";
      pos += 4;
      continue;
    }
    size_t length = CharLength(text, pos);
    out.append(text, pos, length);
    pos += length;
  }
  return out;
}

void ReadTitle(PageState& page, size_t i) {
  Book.Subtitle = AnalyseTitle(CleanCell(page.lines[i + 1]));
  page.titleSeen = true;
}

void ReadVolume(PageState& page, size_t i) {
  std::string volume = KeepDigits(CleanCell(page.lines[i + 2]));
  if (volume == "-" || volume.size() >= 4)
    volume.clear();
  Book.Volume = volume;
}

void ReadTitleReading(PageState& page, size_t i) {
  std::string reading = Trim(CleanCell(page.lines[i + 1]));
  Book.TitleReading = reading == "-" ? "" : reading;
}

void ReadCover(PageState& page, size_t i) {
  Book.CoverUrl = page.baseAddress +
                  TextBetween(WithoutBrackets(page.lines[i]), "src=\"", "\"");
}

void ReadStatement(PageState& page, size_t i) {
  const std::string statement = CleanCell(page.lines[i]);
  if (statement.empty()) {
    page.statementEmpty = true;
    return;
  }
  // A full PersonList takes no more persons; placing the same persons
  // again for every further statement row would only cost time.
  if (PersonList.size() < kMaxPersons) {
    SplitAuthorStatement(statement, ";");
    FinaliseAuthors();
  }
  page.stage.authors[0] = Book.Author1;
  page.stage.authors[1] = Book.Author2;
  page.stage.authors[2] = Book.Author3;
  page.stage.readings[0] = Book.Author1Reading;
  page.stage.readings[1] = Book.Author2Reading;
  page.stage.note = Book.Author1Note;
}

std::string* AuthorField(int k) {
  std::string* fields[3] = {&Book.Author1, &Book.Author2, &Book.Author3};
  return fields[k];
}

// The link of one line of the authors row; none when it has no link.
std::optional<AuthorLink> ReadAuthorLink(const PageState& page,
                                         const std::string& line) {
  static const std::string kOpen = FromUtf8(u8"［");
  static const std::string kClose = FromUtf8(u8"］");
  std::string text = ReplaceAll(Trim(line), ",", "");
  text = ReplaceAll(text, "  ", " ");
  text = ReplaceAll(ReplaceAll(text, " [", kOpen), "]", kClose);
  if (!Contains(text, "<a href="))
    return std::nullopt;
  return AuthorLink{page.baseAddress + TextBetween(text, "<a href=\"", "\">"),
                    StripMarkup(WithoutSpaces(text))};
}

void ReadAuthorLinks(PageState& page, size_t i) {
  if (Contains(page.lines[i + 2], "even"))
    return;
  for (int k = 0; k < 3; ++k) {
    const std::optional<AuthorLink> link =
        ReadAuthorLink(page, page.lines[i + 2 + k]);
    page.stage.links[k] = link.value_or(AuthorLink{});
    if (link && page.statementEmpty) {
      *AuthorField(k) = page.stage.links[k].text;
      page.stage.authors[k] = page.stage.links[k].text;
    }
  }
}

void ReadPublisher(PageState& page, size_t i) {
  Book.Publisher = Trim(CleanCell(page.lines[i + 1]));
  if (Book.Publisher.empty())
    Book.Publisher = Trim(CleanCell(page.lines[i + 2]));
}

void ReadPubDate(PageState& page, size_t i) {
  NormalisePubDate(Trim(CleanCell(page.lines[i + 1])));
}

std::string PhysicalCell(const std::string& line) {
  return Trim(StripMarkup(WithoutSpaces(WithoutBrackets(line))));
}

void ReadPages(PageState& page, size_t i) {
  Book.Pages = ReplaceAll(PhysicalCell(page.lines[i + 1]), "p", "");
}

void ReadSize(PageState& page, size_t i) {
  NormaliseBookSize(PhysicalCell(page.lines[i + 1]));
}

void ReadDescription(PageState& page, size_t i) {
  Book.Description +=
      "\r\n" +
      StripMarkup(BreaksAsLines(ReplaceAll(page.lines[i + 1], "\t", "")));
}

// --- The series block
// ---------------------------------------------------------

StringList GatherSeriesLines(const PageState& page, size_t i) {
  StringList gathered;
  for (int m = 1; m <= kSeriesBlockLines; ++m) {
    const std::string& line = page.lines[i + 1 + m];
    if (Contains(line, "<tr>") || Contains(line, "</td>"))
      break;
    std::string text = StripMarkup(ReplaceAll(WithoutBrackets(line), "\t", ""));
    if (!WithoutSpaces(text).empty())
      gathered.push_back(text);
  }
  return gathered;
}

// An entry is a candidate unless it is the title, repeats the entry before
// it (by key), or names the original title.
bool IsSeriesCandidate(const std::string& entry, const std::string& before) {
  static const std::string kOriginalTitle = FromUtf8(u8"原タイトル");
  const std::string beforeKey = MatchKey(before);
  return entry != Book.Title &&
         (beforeKey.empty() || !Contains(MatchKey(entry), beforeKey)) &&
         !Contains(entry, kOriginalTitle);
}

StringList FilterSeriesLines(const StringList& lines) {
  StringList kept;
  bool labelSeen = false;
  std::string before;
  for (const std::string& entry : lines) {
    const bool label = IsLabelKind(entry);
    if (IsSeriesCandidate(entry, before) && (!labelSeen || !label))
      kept.push_back(entry);
    labelSeen = labelSeen || label;
    before = entry;
  }
  return kept;
}

// A later label-kind entry becomes the series, the series the subtitle.
void SwapInLabel(const StringList& kept) {
  for (size_t j = 1; j < kept.size(); ++j) {
    if (!IsLabelKind(kept[j]))
      continue;
    if (!IsLabelKind(Book.Series)) {
      Book.Subtitle = Book.Series;
      Book.Series = Trim(kept[j]);
    }
    return;
  }
}

// With no subtitle, an entry other than the series becomes the title.
void SwapInTitle(const StringList& kept) {
  if (!Book.Subtitle.empty())
    return;
  for (const std::string& entry : kept) {
    if (entry.empty())
      return;
    if (Trim(entry) != Book.Series) {
      Book.Subtitle = Book.Title;
      Book.Title = Trim(entry);
      return;
    }
  }
}

void ReadSeriesBlock(PageState& page, size_t i) {
  const StringList kept = FilterSeriesLines(GatherSeriesLines(page, i));
  Book.Series = kept.empty() ? "" : Trim(kept[0]);
  if (kept.size() == 1)
    return;
  SwapInLabel(kept);
  SwapInTitle(kept);
}

// --- The scan
// ---------------------------------------------------------------------

struct Row {
  std::u8string_view label;
  void (*read)(PageState&, size_t);
};

const Row kRows[] = {
    {u8"<th>書名</th>", ReadTitle},
    {u8"巻冊次", ReadVolume},
    {u8"書名ヨミ", ReadTitleReading},
    {u8"シリーズ名", ReadSeriesBlock},
    {u8"images/book", ReadCover},
    {u8"<p class=\"p-C\">", ReadStatement},
    {u8"著作者名", ReadAuthorLinks},
    {u8"出版元", ReadPublisher},
    {u8"刊行年月", ReadPubDate},
    {u8"ページ数", ReadPages},
    {u8"大きさ", ReadSize},
    {u8"<div id=\"jsid-detailMainText\">", ReadDescription},
};
constexpr size_t kRowCount = std::size(kRows);

// The row labels in code page 932, found in a line by one walk over it
// (Wu and Manber's search for many patterns): the two bytes at the end of
// a window as long as the shortest label tell how far the window can move
// on before a label could begin in it. A label is compared only where the
// window can begin one; most lines are passed over in steps of several
// bytes, not walked once per label.
class RowLabels {
public:
  RowLabels() {
    for (size_t r = 0; r < kRowCount; ++r) {
      labels_[r] = FromUtf8(kRows[r].label);
      shortest_ = std::min(shortest_, labels_[r].size());
    }
    std::fill(std::begin(shift_), std::end(shift_),
              static_cast<std::uint8_t>(shortest_ - 1));
    for (const std::string& label : labels_) {
      for (size_t j = 0; j + 1 < shortest_; ++j) {
        std::uint8_t& shift = shift_[Pair(label, j)];
        shift = std::min(shift, static_cast<std::uint8_t>(shortest_ - 2 - j));
      }
      const unsigned first = Pair(label, 0);
      starts_[first / 64] |= std::uint64_t{1} << (first % 64);
    }
  }

  // The rows whose labels the line contains (bit r for row r): a byte
  // comparison anywhere, as Contains makes it.
  unsigned In(std::string_view line) const {
    unsigned found = 0;
    for (size_t pos = 0; pos + shortest_ <= line.size();) {
      const std::uint8_t shift = shift_[Pair(line, pos + shortest_ - 2)];
      if (shift > 0) {
        pos += shift;
        continue;
      }
      const unsigned first = Pair(line, pos);
      if (starts_[first / 64] >> (first % 64) & 1)
        for (size_t r = 0; r < kRowCount; ++r)
          if (line.compare(pos, labels_[r].size(), labels_[r]) == 0)
            found |= 1u << r;
      ++pos;
    }
    return found;
  }

private:
  static unsigned Pair(std::string_view text, size_t pos) {
    return static_cast<unsigned char>(text[pos]) << 8 |
           static_cast<unsigned char>(text[pos + 1]);
  }

  std::string labels_[kRowCount];
  size_t shortest_ = SIZE_MAX;
  std::uint8_t shift_[65536];             // by the window's last two bytes
  std::uint64_t starts_[65536 / 64] = {}; // the labels' first two bytes
};

// The tests of one line, in row order: every label the line contains.
void ScanLine(PageState& page, size_t i) {
  static const RowLabels kLabels;
  const unsigned found = kLabels.In(page.lines[i]);
  for (size_t r = 0; found >> r; ++r)
    if (found >> r & 1)
      kRows[r].read(page, i);
}

void ScanPage(PageState& page) {
  if (page.lines.size() <= kTrailingValueLines)
    return;
  for (size_t i = 0; i + kTrailingValueLines < page.lines.size(); ++i) {
    if (StopFlag)
      return;
    ScanLine(page, i);
  }
}

} // namespace

bool ParseDetailPage(const std::string& path, const std::string& baseAddress) {
  PersonListScope personList;
  if (!ReadPageFile(path))
    return false;
  const bool notesMode = AuthorNotesMode(DataDir);
  const StringList lines = PrepareReadPage();
  PageState page{lines, baseAddress};
  page.stage.notesMode = notesMode;
  ScanPage(page);
  if (!page.titleSeen)
    return false;
  if (!Book.Description.empty())
    Book.Description = Trim(Book.Description);
  ApplyPrivateOverride(path + ".marlow_private", "", "");
  return RunAuthorPageStage(page.stage);
}
