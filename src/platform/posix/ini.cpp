// Initialisation files on POSIX, read as GetPrivateProfileStringA reads
// them: "[section]" lines, "key=value" lines, ";" comment lines.
#include "platform/platform.h"

#include <vector>

namespace {

std::string TrimBlanks(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
    ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
    --last;
  return text.substr(first, last - first);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z')
      x -= 32;
    if (y >= 'a' && y <= 'z')
      y -= 32;
    if (x != y)
      return false;
  }
  return true;
}

// The file's text in code page 932: a file written in UTF-8 or UTF-16LE
// with a byte-order mark is converted, as Windows does.
std::string IniText(const std::string& bytes) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
    return WideToCp932(Utf8ToWide(bytes.substr(3)));
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
    std::u16string wide;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      wide +=
          static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                static_cast<unsigned char>(bytes[i + 1]) << 8);
    return WideToCp932(wide);
  }
  return bytes;
}

std::vector<std::string> IniLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n')
      continue;
    lines.push_back(text.substr(start, i - start));
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  return lines;
}

std::string Unquoted(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

} // namespace

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes))
    return fallback;
  // Only the first section of the name counts, and in it the first key.
  bool seenSection = false, inSection = false;
  for (const std::string& raw : IniLines(IniText(bytes))) {
    std::string line = TrimBlanks(raw);
    if (line.empty() || line[0] == ';')
      continue;
    if (line[0] == '[') {
      if (inSection)
        return fallback;
      size_t close = line.find(']');
      std::string name = TrimBlanks(line.substr(
          1, close == std::string::npos ? std::string::npos : close - 1));
      inSection = !seenSection && SameIgnoringCase(name, TrimBlanks(section));
      seenSection = seenSection || inSection;
      continue;
    }
    size_t equals = line.find('=');
    if (!inSection || equals == std::string::npos)
      continue;
    if (SameIgnoringCase(TrimBlanks(line.substr(0, equals)), TrimBlanks(key)))
      return Unquoted(TrimBlanks(line.substr(equals + 1)));
  }
  return fallback;
}
