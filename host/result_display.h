// The result file shown readably: each line a numbered record, its
// non-empty fields one a line with their position and name.
#pragma once

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

// The result file's bytes (code page 932) as UTF-8 text:
//   record 1 (68 items)
//     01 Isbn: 9784...
//     02 Title: ...
// and "no records" for an empty file.
std::string FormatResult(const std::string& cp932);
