// Splitting the host's text files into lines.
#pragma once

#include <string>
#include <vector>

// The lines of a text, each without its LF or CR LF; a final line break
// does not start another line.
std::vector<std::string> SplitLines(const std::string& text);
