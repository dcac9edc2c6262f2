#include "result_display.h"

#include "platform/platform.h"
#include "text_lines.h"

#include <algorithm>
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

const char* NameOf(std::size_t position) {
  for (const NamedField& field : kFieldNames)
    if (field.position == position)
      return field.name;
  return nullptr;
}

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

// The records of the file, each split into its items, as UTF-8. Comma,
// quote, CR and LF cannot be the second byte of a code page 932
// character, so the text splits the same before or after conversion.
std::vector<std::vector<std::string>> Records(const std::string& cp932) {
  std::vector<std::vector<std::string>> records;
  for (const std::string& line : SplitLines(WideToUtf8(Cp932ToWide(cp932))))
    records.push_back(SplitCommaText(line));
  return records;
}

// The value with each line after the first indented by indent spaces.
std::string Indented(const std::string& value, std::size_t indent) {
  std::string out;
  for (char c : RestoreLineBreaks(value)) {
    out += c;
    if (c == '\n')
      out.append(indent, ' ');
  }
  return out;
}

std::string FormatRecord(std::size_t number,
                         const std::vector<std::string>& items) {
  std::string out = "record " + std::to_string(number) + " (" +
                    std::to_string(items.size()) + " items)\n";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].empty())
      continue;
    const std::string label =
        "  " + TwoDigits(i + 1) + " " + FieldName(i + 1) + ": ";
    out += label + Indented(items[i], label.size()) + "\n";
  }
  return out;
}

void AppendJsonString(std::string& out, const std::string& text) {
  out += '"';
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

std::string JsonRecord(std::size_t number,
                       const std::vector<std::string>& items) {
  std::string out = "{\"record\":" + std::to_string(number);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].empty())
      continue;
    out += ',';
    AppendJsonString(out, FieldKey(i + 1));
    out += ':';
    AppendJsonString(out, RestoreLineBreaks(items[i]));
  }
  return out + "}\n";
}

std::string CsvItem(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos)
    return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"')
      out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvRow(const std::vector<std::string>& items, std::size_t columns) {
  std::string out;
  for (std::size_t i = 0; i < columns; ++i) {
    if (i != 0)
      out += ',';
    if (i < items.size())
      out += CsvItem(RestoreLineBreaks(items[i]));
  }
  return out + "\r\n";
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
  const char* name = NameOf(position);
  return name ? name : "reserved";
}

std::string FieldKey(std::size_t position) {
  if (position > kRecordFields)
    return "Beyond" + std::to_string(position);
  const char* name = NameOf(position);
  return name ? name : "Reserved" + TwoDigits(position);
}

std::string RestoreLineBreaks(const std::string& item) {
  std::string out;
  for (std::size_t i = 0; i < item.size(); ++i) {
    if (item[i] == '$' && i + 1 < item.size() && item[i + 1] == '$') {
      out += '\n';
      ++i;
    } else {
      out += item[i];
    }
  }
  return out;
}

std::string FormatResult(const std::string& cp932) {
  const auto records = Records(cp932);
  if (records.empty())
    return "no records\n";
  std::string out;
  for (std::size_t i = 0; i < records.size(); ++i)
    out += FormatRecord(i + 1, records[i]);
  return out;
}

std::string FormatResultJson(const std::string& cp932) {
  const auto records = Records(cp932);
  std::string out;
  for (std::size_t i = 0; i < records.size(); ++i)
    out += JsonRecord(i + 1, records[i]);
  return out;
}

std::string FormatResultCsv(const std::string& cp932) {
  const auto records = Records(cp932);
  std::size_t columns = kRecordFields;
  for (const auto& items : records)
    columns = std::max(columns, items.size());
  std::vector<std::string> header;
  for (std::size_t i = 1; i <= columns; ++i)
    header.push_back(FieldKey(i));
  std::string out = CsvRow(header, columns);
  for (const auto& items : records)
    out += CsvRow(items, columns);
  return out;
}

std::string FormatResultAs(ShowFormat format, const std::string& cp932) {
  switch (format) {
  case ShowFormat::Json:
    return FormatResultJson(cp932);
  case ShowFormat::Csv:
    return FormatResultCsv(cp932);
  default:
    return FormatResult(cp932);
  }
}
