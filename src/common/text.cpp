#include "common/text.h"

#include "platform/platform.h"

size_t CharLength(std::string_view text, size_t pos) {
  return IsLeadByte(static_cast<unsigned char>(text[pos])) &&
                 pos + 1 < text.size()
             ? 2
             : 1;
}

namespace {

// Markers up to this length are looked for directly: the direct search
// compares at most this many bytes at each position of the text.
constexpr size_t kShortMarker = 32;

// Knuth-Morris-Pratt: never steps back in the text, so the time is linear
// in the text and the marker, however long and repetitive both are.
size_t FindLongMarker(std::string_view text, std::string_view marker,
                      size_t from) {
  // border[i]: length of the longest proper prefix of marker[0..i] that is
  // also its suffix.
  std::vector<size_t> border(marker.size(), 0);
  for (size_t i = 1, k = 0; i < marker.size(); ++i) {
    while (k > 0 && marker[i] != marker[k])
      k = border[k - 1];
    if (marker[i] == marker[k])
      ++k;
    border[i] = k;
  }
  for (size_t pos = from, k = 0; pos < text.size(); ++pos) {
    while (k > 0 && text[pos] != marker[k])
      k = border[k - 1];
    if (text[pos] == marker[k])
      ++k;
    if (k == marker.size())
      return pos + 1 - k;
  }
  return std::string_view::npos;
}

} // namespace

size_t FindBytes(std::string_view text, std::string_view marker, size_t from) {
  if (marker.size() <= kShortMarker || from > text.size() ||
      marker.size() > text.size() - from)
    return text.find(marker, from);
  return FindLongMarker(text, marker, from);
}

bool Contains(std::string_view text, std::string_view marker) {
  return FindBytes(text, marker) != std::string_view::npos;
}

// The byte search finds each candidate; the walk by characters from where
// the last one ended tells whether it begins a character.
size_t FindWhole(std::string_view text, std::string_view marker, size_t from) {
  if (marker.empty())
    return std::string_view::npos;
  for (size_t pos = from; pos < text.size();) {
    const size_t found = FindBytes(text, marker, pos);
    if (found == std::string_view::npos)
      return found;
    while (pos < found)
      pos += CharLength(text, pos);
    if (pos == found)
      return pos;
  }
  return std::string_view::npos;
}

bool EndsWithWhole(std::string_view text, std::string_view suffix) {
  if (suffix.size() > text.size())
    return false;
  const size_t start = text.size() - suffix.size();
  size_t pos = 0;
  while (pos < start)
    pos += CharLength(text, pos);
  return pos == start && text.substr(start) == suffix;
}

namespace {

// Every occurrence that find reports, left to right, without overlap.
template <typename Find>
std::string ReplaceFound(std::string_view text, std::string_view from,
                         std::string_view to, Find find) {
  if (from.empty())
    return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  for (size_t found; (found = find(text, from, pos)) != std::string_view::npos;
       pos = found + from.size()) {
    out += text.substr(pos, found - pos);
    out += to;
  }
  out += text.substr(pos);
  return out;
}

} // namespace

std::string ReplaceAll(std::string_view text, std::string_view from,
                       std::string_view to) {
  return ReplaceFound(text, from, to, FindWhole);
}

std::string ReplaceBytes(std::string_view text, std::string_view from,
                         std::string_view to) {
  return ReplaceFound(text, from, to, FindBytes);
}

std::string Trim(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
    ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
    --last;
  return std::string(text.substr(first, last - first));
}

std::string TrimRight(std::string_view text) {
  size_t last = text.size();
  while (last > 0 && static_cast<unsigned char>(text[last - 1]) <= ' ')
    --last;
  return std::string(text.substr(0, last));
}

std::string TrimLeft(std::string_view text) {
  size_t first = 0;
  while (first < text.size() && static_cast<unsigned char>(text[first]) <= ' ')
    ++first;
  return std::string(text.substr(first));
}

std::string Slice(std::string_view text, size_t first, size_t count) {
  if (first == 0 || first > text.size())
    return {};
  return std::string(text.substr(first - 1, count));
}

StringList SplitLines(std::string_view text) {
  StringList lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

std::string FromUtf8(std::u8string_view utf8) {
  return WideToCp932(Utf8ToWide(
      std::string(reinterpret_cast<const char*>(utf8.data()), utf8.size())));
}
