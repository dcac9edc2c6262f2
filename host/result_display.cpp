#include "result_display.h"

#include "platform/platform.h"
#include "text_lines.h"

#include <cstdio>

namespace {

constexpr std::size_t kRecordFields = 68;

struct NamedField {
  std::size_t position;
  const char* name;
};

constexpr NamedField kFieldNames[] = {
    {1, "Isbn"},           {2, "Title"},        {3, "TitleReading"},
    {4, "Subtitle"},       {5, "Volume"},       {6, "Author1"},
    {7, "Author1Reading"}, {8, "Author2"},      {9, "Author2Reading"},
    {10, "Author3"},       {11, "ClassCode"},   {13, "Publisher"},
    {14, "Series"},        {16, "BookSize"},    {17, "DetailUrl"},
    {18, "Extra1"},        {19, "Extra2"},      {21, "PurchaseStatus"},
    {22, "Price"},         {23, "TaxSetting"},  {25, "TaxSetting2"},
    {26, "PubYear"},       {27, "PubMonth"},    {28, "PubDay"},
    {36, "Pages"},         {37, "Description"}, {38, "CoverUrl"},
    {47, "ReadStatus"},    {66, "Author1Note"},
};

// Reads a quoted item starting at line[pos] == '"'; returns the position
// after the closing quote (or the end of the line if it is missing).
std::size_t ReadQuoted(const std::string& line, std::size_t pos,
                       std::string& item) {
  ++pos;
  while (pos < line.size()) {
    if (line[pos] != '"') {
      item += line[pos++];
    } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
      item += '"';
      pos += 2;
    } else {
      return pos + 1;
    }
  }
  return pos;
}

std::string TwoDigits(std::size_t number) {
  char text[24];
  std::snprintf(text, sizeof text, "%02zu", number);
  return text;
}

std::string FormatRecord(std::size_t number, const std::string& line) {
  std::vector<std::string> items = SplitCommaText(line);
  std::string out = "record " + std::to_string(number) + " (" +
                    std::to_string(items.size()) + " items)\n";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].empty())
      continue;
    out += "  " + TwoDigits(i + 1) + " " + FieldName(i + 1) + ": " + items[i] +
           "\n";
  }
  return out;
}

} // namespace

std::vector<std::string> SplitCommaText(const std::string& line) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  while (true) {
    std::string item;
    if (pos < line.size() && line[pos] == '"')
      pos = ReadQuoted(line, pos, item);
    std::size_t comma = line.find(',', pos);
    std::size_t end = comma == std::string::npos ? line.size() : comma;
    item += line.substr(pos, end - pos);
    items.push_back(item);
    if (comma == std::string::npos)
      return items;
    pos = comma + 1;
  }
}

std::string FieldName(std::size_t position) {
  if (position > kRecordFields)
    return "beyond the record";
  for (const NamedField& field : kFieldNames)
    if (field.position == position)
      return field.name;
  return "reserved";
}

std::string FormatResult(const std::string& cp932) {
  // Comma, quote, CR and LF cannot be the second byte of a code page 932
  // character, so the text splits the same before or after conversion.
  std::vector<std::string> lines = SplitLines(WideToUtf8(Cp932ToWide(cp932)));
  if (lines.empty())
    return "no records\n";
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i)
    out += FormatRecord(i + 1, lines[i]);
  return out;
}
