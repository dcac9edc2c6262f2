// The text conventions every module shares.
//
// Texts are byte strings in code page 932. A lead byte (0x81-0x9F or
// 0xE0-0xFC) and the byte after it form one character; every other byte is
// a character by itself. Searching for a marker compares bytes and may land
// inside a double-byte character; replacing matches whole characters only.
// Trimming removes bytes of value 32 or less and never the full-width space.
#pragma once

#include <string>
#include <string_view>
#include <vector>

using StringList = std::vector<std::string>;

// The first byte of a double-byte character: 81-9F and E0-FC. Inline, as
// the walks over a page's text ask it at every character.
inline bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
// Length in bytes (1 or 2) of the character that starts at text[pos]; a
// lead byte in the last position is a character of one byte.
size_t CharLength(std::string_view text, size_t pos);

// The first occurrence of marker at or after from, by bytes, or npos. The
// time stays linear in the text's length however long the marker is: the
// markers of the names and dictionaries come from pages and users' files.
size_t FindBytes(std::string_view text, std::string_view marker,
                 size_t from = 0);
// Byte search, case-sensitive, not aligned to characters.
bool Contains(std::string_view text, std::string_view marker);
// The first occurrence of marker that begins at a character boundary at or
// after from (itself a boundary), or npos; an empty marker is never found.
size_t FindWhole(std::string_view text, std::string_view marker,
                 size_t from = 0);
// Whether the text's last character (or characters) are suffix.
bool EndsWithWhole(std::string_view text, std::string_view suffix);
// Every occurrence of from, left to right, without overlap, matched at
// character boundaries only; an empty from changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view from,
                       std::string_view to);
// Every occurrence of from replaced byte by byte, for text that is not code
// page 932 (the raw UTF-8 of a page).
std::string ReplaceBytes(std::string_view text, std::string_view from,
                         std::string_view to);
std::string Trim(std::string_view text);
// Trim on the right only.
std::string TrimRight(std::string_view text);
// Trim on the left only.
std::string TrimLeft(std::string_view text);
// Bytes first to first + count - 1 (counted from 1), cut at the text's end;
// empty when first lies beyond it.
std::string Slice(std::string_view text, size_t first, size_t count);

// The lines of a text split at CR LF, CR or LF; a break at the very end
// does not start another line, so "" gives no line and "\r\n" one empty one.
StringList SplitLines(std::string_view text);

// A literal written in UTF-8 in the source, as code page 932 bytes.
std::string FromUtf8(std::u8string_view utf8);
