// The result file shown readably. Each line of the file is a record of 68
// comma-separated positions; the display names the non-empty ones and
// turns the "$$" that stands for a line break back into one.
#pragma once

#include "command_line.h"

#include <string>
#include <vector>

// The items of one line of comma text. An item that starts with a double
// quote runs to the closing quote and may hold commas and doubled quotes
// (one quote each); anything after the closing quote up to the next comma
// is kept as it is.
std::vector<std::string> SplitCommaText(const std::string& line);

// The name of a record position (1-based); "reserved" for the positions
// the record keeps unused, "beyond the record" past position 68.
std::string FieldName(std::size_t position);

// The name of a position as a JSON key and CSV column, unique for each:
// the field's name, "Reserved12" for an unused position, "Beyond69" past
// the record.
std::string FieldKey(std::size_t position);

// Every "$$" (left to right, not overlapping) as LF.
std::string RestoreLineBreaks(const std::string& item);

// The result file's bytes (code page 932) as UTF-8 text:
//   record 1 (68 items)
//     01 Isbn: 9784...
//     37 Description: first paragraph
//                     second paragraph
// and "no records" for an empty file.
std::string FormatResult(const std::string& cp932);

// One JSON object a line: {"record":1,"Isbn":"9784...","Title":"..."},
// with the non-empty positions under their FieldKey, in position order.
std::string FormatResultJson(const std::string& cp932);

// CSV (RFC 4180, CR LF after each row, UTF-8 without a byte-order mark): a
// header of FieldKey names for positions 1-68 (more if a line is longer),
// then one row per record with every position.
std::string FormatResultCsv(const std::string& cp932);

std::string FormatResultAs(ShowFormat format, const std::string& cp932);
