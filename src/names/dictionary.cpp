// The dictionary files: read, searched and keyed.
//
// Each dictionary is loaded for every code, so an edit takes effect at the
// next code. Reading a user's hundred thousand lines and indexing them
// for every code would cost the run far more than its pages do, so a load
// first compares the file's stamp with the one it had when it was last
// read: the same file, size and time stamps (the status change time
// included, which moves with every write and which no program sets back)
// mean the same bytes, and the dictionary read then stays. Any other stamp,
// or a file the system cannot stamp, is read again.
#include "names/names.h"

#include "catalogue/markup.h"
#include "common/record.h"
#include "platform/platform.h"
#include "plugin/driver.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kNone = std::string_view::npos;

// The index of a search text: for every "|" of the text, in order, the
// window from the byte after it up to the parts-th "|" after it (that many
// fields), unless a line break lies in it. Each distinct window keeps its
// first "|". A key "|" field "|" ... "|" of that many fields, none holding
// "|" or a line break, occurs first exactly where its window first occurs:
// FindEntry's byte search, answered at once.
class WindowIndex {
public:
  void Build(std::string_view text, int parts) {
    Clear();
    parts_ = parts;
    if (text.size() >= kPositionLimit || parts < 1 || parts > kMaxParts)
      return; // searched without an index
    size_t windows = 0;
    ForEachWindow(text, [&](size_t, size_t) { ++windows; });
    // At most four windows in five slots; most dictionaries repeat many
    // of their fields (empty notes, common readings), so far fewer.
    slots_.assign(windows + windows / 4 + 16, 0);
    ForEachWindow(text, [&](size_t bar, size_t end) {
      Insert(text, bar, text.substr(bar + 1, end - bar - 1));
    });
  }

  void Clear() { std::vector<std::uint32_t>().swap(slots_); }

  // The first occurrence of key in text, as a byte search finds it.
  size_t Locate(std::string_view text, std::string_view key) const {
    if (key.empty())
      return kNone;
    if (slots_.empty() || key.size() < 2 || key.front() != '|' ||
        key.back() != '|')
      return FindBytes(text, key);
    const std::string_view window = key.substr(1, key.size() - 2);
    if (static_cast<int>(std::count(window.begin(), window.end(), '|')) !=
            parts_ - 1 ||
        window.find_first_of("\r\n") != kNone)
      return FindBytes(text, key);
    return First(text, window);
  }

private:
  // Slots hold the position of a window's "|" plus one (0: empty) in
  // their low bits and a few bits of the window's hash above them.
  static constexpr unsigned kPositionBits = 26;
  static constexpr std::uint32_t kPositionMask = (1u << kPositionBits) - 1;
  static constexpr size_t kPositionLimit = kPositionMask - 1;
  static constexpr int kMaxParts = 2;

  // Calls visit(bar, end) for every window: the "|" it follows and the
  // "|" that ends it.
  template <typename Visit>
  void ForEachWindow(std::string_view text, Visit visit) const {
    // The last parts + 1 bars, oldest first. A search text breaks lines
    // with CR LF only, so its CRs are its line breaks.
    size_t bars[kMaxParts + 1];
    size_t seen = 0;
    size_t lineEnd = text.find('\r');
    for (size_t bar = text.find('|'); bar != kNone;
         bar = text.find('|', bar + 1)) {
      if (seen <= static_cast<size_t>(parts_)) {
        bars[seen++] = bar;
        if (seen <= static_cast<size_t>(parts_))
          continue;
      } else {
        std::memmove(bars, bars + 1, parts_ * sizeof bars[0]);
        bars[parts_] = bar;
      }
      const size_t start = bars[0];
      if (lineEnd != kNone && lineEnd < start)
        lineEnd = text.find('\r', start);
      if (lineEnd == kNone || lineEnd > bar)
        visit(start, bar);
    }
  }

  static std::uint64_t Hash(std::string_view window) {
    std::uint64_t hash = 0x9E3779B97F4A7C15u ^ window.size();
    size_t pos = 0;
    for (; pos + 8 <= window.size(); pos += 8) {
      std::uint64_t word;
      std::memcpy(&word, window.data() + pos, 8);
      hash = (hash ^ word) * 0xFF51AFD7ED558CCDu;
      hash ^= hash >> 32;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, window.data() + pos, window.size() - pos);
    hash = (hash ^ tail) * 0xC4CEB9FE1A85EC53u;
    return hash ^ (hash >> 29);
  }

  static std::uint32_t Tag(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> (64 - (32 - kPositionBits)))
           << kPositionBits;
  }

  size_t Home(std::uint64_t hash) const {
    // The high half of the hash scaled to the table: fewer than 2^32 slots.
    return static_cast<size_t>(((hash >> 32) * slots_.size()) >> 32);
  }

  // Whether the window at bar is window: the same bytes, then a "|".
  static bool WindowAt(std::string_view text, size_t bar,
                       std::string_view window) {
    const size_t end = bar + 1 + window.size();
    return end < text.size() && text[end] == '|' &&
           text.compare(bar + 1, window.size(), window) == 0;
  }

  // The slot of window, or of the empty slot where it would go.
  size_t Find(std::string_view text, std::string_view window,
              std::uint64_t hash) const {
    const std::uint32_t tag = Tag(hash);
    for (size_t slot = Home(hash);;
         slot = slot + 1 == slots_.size() ? 0 : slot + 1) {
      const std::uint32_t entry = slots_[slot];
      if (entry == 0)
        return slot;
      if ((entry & ~kPositionMask) == tag &&
          WindowAt(text, (entry & kPositionMask) - 1, window))
        return slot;
    }
  }

  void Insert(std::string_view text, size_t bar, std::string_view window) {
    const std::uint64_t hash = Hash(window);
    std::uint32_t& entry = slots_[Find(text, window, hash)];
    if (entry == 0)
      entry = Tag(hash) | static_cast<std::uint32_t>(bar + 1);
  }

  size_t First(std::string_view text, std::string_view window) const {
    const std::uint32_t entry = slots_[Find(text, window, Hash(window))];
    return entry == 0 ? kNone : (entry & kPositionMask) - 1;
  }

  std::vector<std::uint32_t> slots_;
  int parts_ = 1;
};

// One dictionary file as the run has it.
struct Dictionary {
  Dictionary(const char* name, int parts) : fileName(name), keyParts(parts) {}
  const char* fileName;
  // The fields of its keys: one for authors and publishers, two (the
  // publisher and the series key) for labels.
  int keyParts;
  std::string text; // the search text
  WindowIndex index;
  std::string path; // the file text was read from
  FileStamp stamp;  // and its stamp then
  bool read = false;
};

Dictionary Authors("AuthDB.dat", 1);
Dictionary Labels("LabelsDB.dat", 2);
Dictionary Publishers("PubDB.dat", 1);

void Release(Dictionary& dictionary) {
  std::string().swap(dictionary.text);
  dictionary.index.Clear();
  dictionary.read = false;
}

// Whether the bytes are their own search text: every line ending in CR LF
// (the last one may have no line end).
bool IsSearchText(std::string_view bytes) {
  for (size_t pos = bytes.find('\r'); pos != kNone;
       pos = bytes.find('\r', pos + 1))
    if (pos + 1 == bytes.size() || bytes[pos + 1] != '\n')
      return false;
  for (size_t pos = bytes.find('\n'); pos != kNone;
       pos = bytes.find('\n', pos + 1))
    if (pos == 0 || bytes[pos - 1] != '\r')
      return false;
  return true;
}

// The file's search text, from its bytes: the lines (split at CR LF, LF or
// CR), each followed by CR LF.
std::string SearchTextOf(std::string bytes) {
  if (!IsSearchText(bytes))
    return SearchText(SplitLines(bytes));
  if (!bytes.empty() && !bytes.ends_with("\r\n"))
    bytes += "\r\n";
  return bytes;
}

// Replaces the copy of the code before, unless the file is as it was when
// that copy was read. Nothing at the path gives an empty dictionary;
// anything there that cannot be read (a file held by another program, a
// directory) ends the run, and the dictionary is left empty.
void Load(Dictionary& dictionary, const std::string& dataDir) {
  const std::string path = dataDir + dictionary.fileName;
  FileStamp stamp;
  if (!ReadFileStamp(path, stamp)) {
    Release(dictionary);
    return;
  }
  if (dictionary.read && path == dictionary.path && stamp == dictionary.stamp)
    return;
  Release(dictionary);
  std::string bytes;
  if (!ReadWholeFile(path, bytes))
    throw RunError(FromUtf8(u8"辞書ファイルを読み込めませんでした。") + path);
  dictionary.text = SearchTextOf(std::move(bytes));
  dictionary.index.Build(dictionary.text, dictionary.keyParts);
  dictionary.path = path;
  dictionary.stamp = stamp;
  dictionary.read = true;
}

bool Find(const Dictionary& dictionary, const std::string& key,
          const std::string& endMarker, std::string& value) {
  const size_t found = dictionary.index.Locate(dictionary.text, key);
  if (found == kNone)
    return false;
  value = TextBetween(std::string_view(dictionary.text).substr(found), key,
                      endMarker);
  return true;
}

} // namespace

std::string SearchText(const StringList& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void LoadAuthorDictionary(const std::string& dataDir) {
  Load(Authors, dataDir);
}

void LoadLabelDictionary(const std::string& dataDir) { Load(Labels, dataDir); }

void LoadPublisherDictionary(const std::string& dataDir) {
  Load(Publishers, dataDir);
}

void ReleaseAuthorDictionary() { Release(Authors); }
void ReleaseLabelDictionary() { Release(Labels); }
void ReleasePublisherDictionary() { Release(Publishers); }

const std::string& AuthorSearchText() { return Authors.text; }
const std::string& LabelSearchText() { return Labels.text; }
const std::string& PublisherSearchText() { return Publishers.text; }

bool FindAuthorEntry(const std::string& key, const std::string& endMarker,
                     std::string& value) {
  return Find(Authors, key, endMarker, value);
}

bool FindLabelEntry(const std::string& key, const std::string& endMarker,
                    std::string& value) {
  return Find(Labels, key, endMarker, value);
}

bool FindPublisherEntry(const std::string& key, const std::string& endMarker,
                        std::string& value) {
  return Find(Publishers, key, endMarker, value);
}

std::string DictionaryKey(const std::string& text) {
  static const std::string kDropped[] = {FromUtf8(u8"・"), FromUtf8(u8"☆"),
                                         FromUtf8(u8"★"), FromUtf8(u8"♪")};
  static const std::string kKatakanaNi = FromUtf8(u8"ニ");
  static const std::string kKanjiNi = FromUtf8(u8"二");
  std::string key = text;
  for (const std::string& mark : kDropped)
    key = ReplaceAll(key, mark, "");
  key = ReplaceAll(key, kKatakanaNi, kKanjiNi);
  // MapHalfWidth maps the whole text, with no 255-byte cut, so the key of a
  // text of any length is defined and looked up like any other.
  key = MapHalfWidth(key);
  key = ReplaceAll(key, " ", "");
  key = ReplaceAll(key, "\xB0", "-"); // the half-width long vowel mark ｰ
  return Trim(key);
}

bool FindEntry(const std::string& dictionaryText, const std::string& key,
               const std::string& endMarker, std::string& value) {
  if (key.empty() || !Contains(dictionaryText, key))
    return false;
  value = TextBetween(dictionaryText, key, endMarker);
  return true;
}

size_t EntryOffset(const std::string& dictionaryText, const std::string& key) {
  return key.empty() ? std::string::npos : FindBytes(dictionaryText, key);
}

std::string FieldAt(const std::string& value, int n) {
  std::string_view rest(value);
  for (int step = 1; step <= n; ++step) {
    const size_t bar = FindWhole(rest, "|");
    if (bar == std::string_view::npos)
      return step == n ? std::string(rest) : std::string();
    if (step == n)
      return std::string(rest.substr(0, bar));
    rest.remove_prefix(bar + 1);
  }
  return {};
}
