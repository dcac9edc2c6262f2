#include "support.h"

#include "common/text.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

std::vector<std::string> SplitParts(const std::uint8_t* data,
                                    std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string mark = kPartMark;
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = input.find(mark, start)) != std::string::npos;
       start = at + mark.size())
    parts.push_back(input.substr(start, at - start));
  parts.push_back(input.substr(start));
  return parts;
}

std::optional<std::string> PartAt(const std::vector<std::string>& parts,
                                  std::size_t n) {
  if (n < parts.size())
    return parts[n];
  return std::nullopt;
}

namespace {

std::string MakeScratchDirectory() {
  // Memory-backed when the system has it: the targets write files on every
  // run.
  std::string base = std::filesystem::is_directory("/dev/shm")
                         ? "/dev/shm"
                         : std::filesystem::temp_directory_path().string();
  std::string pattern = base + "/tomefinder-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data()))
    Fail("cannot make the scratch directory", pattern);
  return pattern + "/";
}

void RemoveScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(ScratchDirectory(), ignored);
}

} // namespace

const std::string& ScratchDirectory() {
  static const std::string dir = MakeScratchDirectory();
  static const bool registered = std::atexit(RemoveScratchDirectory) == 0;
  (void)registered;
  return dir;
}

void PlaceFile(const std::string& path,
               const std::optional<std::string>& bytes) {
  if (!bytes) {
    if (PathExists(path) && !DeleteFileAt(path))
      Fail("cannot remove", path);
    return;
  }
  if (!WriteWholeFile(path, *bytes))
    Fail("cannot write", path);
}

bool IsCp932(const std::string& text) {
  // One decoding, walked beside the text: the decoder gives one character
  // per single byte and per pair, and the default character for a pair
  // that is none. A lead byte at the end or before a NUL is cut.
  constexpr char16_t kDefault = 0x30FB;
  const std::u16string wide = Cp932ToWide(text);
  std::size_t k = 0;
  for (std::size_t pos = 0; pos < text.size(); ++k) {
    if (!IsLeadByte(static_cast<unsigned char>(text[pos]))) {
      ++pos;
      continue;
    }
    if (pos + 1 == text.size() || text[pos + 1] == '\0')
      return false;
    if (wide[k] == kDefault && text.compare(pos, 2, "\x81\x45") != 0)
      return false;
    pos += 2;
  }
  return true;
}

std::string Printable(const std::string& bytes) {
  std::string out;
  char hex[8];
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz check failed: %s %s\n", what, detail.c_str());
  std::abort();
}

namespace {

std::size_t StepAt(const std::string& line, std::size_t pos, ReadBy by) {
  return by == ReadBy::Characters ? CharLength(line, pos) : 1;
}

// A quoted item from the quote at pos; returns the position after its
// closing quote (the line's end when there is none).
std::size_t ReadQuotedItem(const std::string& line, std::size_t pos, ReadBy by,
                           std::string& item) {
  for (++pos; pos < line.size();) {
    if (line[pos] != '"') {
      const std::size_t step = StepAt(line, pos, by);
      item.append(line, pos, step);
      pos += step;
    } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
      item += '"';
      pos += 2;
    } else {
      return pos + 1;
    }
  }
  return pos;
}

} // namespace

std::vector<std::string> ReadCommaText(const std::string& line, ReadBy by) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  for (;;) {
    std::string item;
    if (pos < line.size() && line[pos] == '"')
      pos = ReadQuotedItem(line, pos, by, item);
    while (pos < line.size() && line[pos] != ',') {
      const std::size_t step = StepAt(line, pos, by);
      item.append(line, pos, step);
      pos += step;
    }
    items.push_back(item);
    if (pos >= line.size())
      return items;
    ++pos; // the comma
  }
}

std::vector<std::string> CheckOutputLine(const std::string& line) {
  const std::vector<std::string> items = ReadCommaText(line, ReadBy::Bytes);
  if (items.size() != 68)
    Fail("an output line read by bytes has not 68 items:",
         std::to_string(items.size()));
  const std::vector<std::string> byCharacters =
      ReadCommaText(line, ReadBy::Characters);
  for (std::size_t i = 0; i < items.size(); ++i)
    if (i >= byCharacters.size() || byCharacters[i] != items[i])
      Fail("an output line reads differently by characters from item",
           std::to_string(i + 1) + ": " + Printable(items[i]));
  return items;
}
