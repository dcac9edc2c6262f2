// Catalogue pages as code page 932 lines, and the cleaning of their cells.
#include "catalogue/detail_page.h"
#include "catalogue/markup.h"
#include "platform/platform.h"
#include "plugin/driver.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the sequence that lead starts: 1 below 0x80, 4 for the
// four-byte leads, 3 when bit 0x20 is set, otherwise 2.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80)
    return 1;
  if (lead >= 0xF0 && lead <= 0xF7)
    return 4;
  return (lead & 0x20) ? 3 : 2;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes UTF-16 units in code page 932 as WideToCp932 does, one unit at a
// time: a high surrogate waits for the unit after it, and a pair is one
// "?".
class Cp932Writer {
public:
  explicit Cp932Writer(char* out) : out_(out) {}

  void Put(char16_t unit) {
    if (pending_) {
      const char16_t high = pending_;
      pending_ = 0;
      if (IsLowSurrogate(unit)) {
        *out_++ = '?';
        return;
      }
      PutEntry(high);
    }
    if (unit < 0x80)
      *out_++ = static_cast<char>(unit);
    else if (IsHighSurrogate(unit))
      pending_ = unit;
    else
      PutEntry(unit);
  }
  void PutAscii(char byte) {
    if (pending_)
      Put(static_cast<char16_t>(byte));
    else
      *out_++ = byte;
  }
  // The ASCII bytes from pos on, eight at a time; where they end. Only
  // with no high surrogate waiting.
  size_t PutAsciiRun(std::string_view bytes, size_t pos) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    if (pending_)
      return pos;
    while (bytes.size() - pos >= 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + pos, 8);
      if (word & kHighBits)
        break;
      std::memcpy(out_, &word, 8);
      out_ += 8;
      pos += 8;
    }
    return pos;
  }
  // The end of the text: a high surrogate still waiting is written alone.
  char* Finish() {
    if (pending_)
      PutEntry(pending_);
    pending_ = 0;
    return out_;
  }

private:
  void PutEntry(char16_t unit) {
    const std::uint16_t entry = Cp932Entry(unit);
    if (entry == 0) {
      *out_++ = '?';
    } else if (entry < 0x100) {
      *out_++ = static_cast<char>(entry);
    } else {
      *out_++ = static_cast<char>(entry >> 8);
      *out_++ = static_cast<char>(entry & 0xFF);
    }
  }

  char* out_;
  char16_t pending_ = 0;
};

// The character at bytes[pos] (a lead byte there), decoded; false when a
// following byte is not a continuation byte or the text ends inside the
// sequence.
bool DecodeSequence(std::string_view bytes, size_t& pos, char32_t& code) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  const unsigned char lead = static_cast<unsigned char>(bytes[pos]);
  const size_t length = SequenceLength(lead);
  if (length > bytes.size() - pos)
    return false;
  code = lead & kLeadBits[length];
  for (size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(bytes[pos + k]);
    if (!IsContinuation(next))
      return false;
    code = (code << 6) | (next & 0x3F);
  }
  pos += length;
  return true;
}

// The page's UTF-8 in code page 932, with the two dashes repaired: "—"
// (U+2014) as "―" (U+2015) and "〜" (U+301C) as "~". False when the text
// is not well-formed (see DecodeSequence). A character beyond U+FFFF is
// kept as a surrogate pair, which is written "?", so that one rare kanji
// or emoji does not lose the whole page. Line ends stay as they are: the
// lines are split afterwards at CR LF, CR or LF alike. The text is the
// first length bytes of text, which is grown as needed and never shrunk.
bool DecodePage(std::string_view bytes, std::string& text, size_t& length) {
  // Never more bytes than the UTF-8: a character of n bytes becomes at
  // most n (a pair of surrogates one "?", or two).
  if (text.size() < bytes.size())
    text.resize(bytes.size());
  Cp932Writer out(text.data());
  for (size_t pos = 0; pos < bytes.size();) {
    const char byte = bytes[pos];
    if (static_cast<unsigned char>(byte) < 0x80) {
      out.PutAscii(byte);
      ++pos;
      pos = out.PutAsciiRun(bytes, pos);
      continue;
    }
    char32_t code = 0;
    if (!DecodeSequence(bytes, pos, code))
      return false;
    if (code == 0x2014)
      code = 0x2015;
    else if (code == 0x301C)
      code = U'~';
    if (code < 0x10000) {
      out.Put(static_cast<char16_t>(code));
    } else {
      code -= 0x10000;
      out.Put(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.Put(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
  }
  length = static_cast<size_t>(out.Finish() - text.data());
  return true;
}

bool StartsWith(std::string_view text, size_t pos, std::string_view prefix) {
  return text.compare(pos, prefix.size(), prefix) == 0;
}

// The replacement of the entity at text[pos] ("&" there), and its length.
// The entities are replaced one after the other over the whole text:
// "&amp;" as "&" first, then "&quot;" as "”", "&lt;" as "<" and "&gt;" as
// ">". None of them can make or break another's match, except that the "&"
// left by "&amp;" can begin one of the last three: "&amp;lt;" ends as "<",
// but "&amp;amp;lt;" as "&amp;lt;". So they can be taken at once, left to
// right.
std::string_view Entity(std::string_view text, size_t pos, size_t& length) {
  static const std::string kQuote = FromUtf8(u8"”");
  struct Named {
    std::string_view rest; // after the "&"
    std::string_view character;
  };
  const Named named[] = {{"quot;", kQuote}, {"lt;", "<"}, {"gt;", ">"}};
  // Where the text after the "&" begins: the one standing at pos, or the
  // one that "&amp;" leaves.
  const size_t rest = StartsWith(text, pos, "&amp;") ? pos + 5 : pos + 1;
  for (const Named& entity : named) {
    if (StartsWith(text, rest, entity.rest)) {
      length = rest - pos + entity.rest.size();
      return entity.character;
    }
  }
  length = rest - pos;
  return "&";
}

// The first byte at or after pos in text[..end) that is c, or end.
size_t FindByte(std::string_view text, size_t pos, size_t end, char c) {
  const void* found = std::memchr(text.data() + pos, c, end - pos);
  return found ? static_cast<size_t>(static_cast<const char*>(found) -
                                     text.data())
               : end;
}

// How many LF the text holds: enough lines reserved for a page with CR LF
// or LF line ends.
size_t LineFeeds(std::string_view text) {
  size_t count = 0;
  for (size_t pos = 0;
       (pos = FindByte(text, pos, text.size(), '\n')) < text.size(); ++pos)
    ++count;
  return count;
}

// Where the line that begins at pos ends: at its CR or LF, or at the end.
size_t LineEnd(std::string_view text, size_t pos) {
  const size_t lf = FindByte(text, pos, text.size(), '\n');
  return FindByte(text, pos, lf, '\r');
}

// The line with its entities replaced, pieced together in piece. "&" is
// never the second byte of a character, so each is found by a byte search.
void ReplaceEntities(std::string_view line, std::string& piece) {
  size_t run = 0;
  for (size_t pos = 0;
       (pos = FindByte(line, pos, line.size(), '&')) < line.size();) {
    piece.append(line, run, pos - run);
    size_t length = 1;
    piece += Entity(line, pos, length);
    run = pos += length;
  }
  piece.append(line, run, line.size() - run);
}

// The line with its entities and its tildes replaced. "~" may be the second
// byte of a character, so the line is walked by characters. DecodePage
// writes a lead byte only with its second byte.
void ReplaceEntitiesAndTildes(std::string_view line, std::string& piece) {
  static const std::string kTilde = FromUtf8(u8"～");
  size_t run = 0;
  for (size_t pos = 0; pos < line.size();) {
    const unsigned char c = static_cast<unsigned char>(line[pos]);
    if (IsLeadByte(c)) {
      pos += pos + 1 < line.size() ? 2 : 1;
    } else if (c == '~' || c == '&') {
      piece.append(line, run, pos - run);
      size_t length = 1;
      piece += c == '~' ? std::string_view(kTilde) : Entity(line, pos, length);
      run = pos += length;
    } else {
      ++pos;
    }
  }
  piece.append(line, run, line.size() - run);
}

// The prepared text's lines (CR LF, LF or CR ends), with the entities and
// the tildes replaced. A line with no replacement is copied from the text
// at once; one with replacements is pieced together in piece, whose memory
// serves every such line, and then copied.
StringList EntityLines(std::string_view text) {
  StringList lines;
  lines.reserve(LineFeeds(text) + 1);
  std::string piece;
  for (size_t pos = 0; pos < text.size();) {
    const size_t end = LineEnd(text, pos);
    const std::string_view line = text.substr(pos, end - pos);
    const bool tilde = FindByte(line, 0, line.size(), '~') < line.size();
    if (tilde || FindByte(line, 0, line.size(), '&') < line.size()) {
      piece.clear();
      if (tilde)
        ReplaceEntitiesAndTildes(line, piece);
      else
        ReplaceEntities(line, piece);
      lines.emplace_back(piece);
    } else {
      lines.emplace_back(line);
    }
    pos = end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
                  text[end + 1] == '\n'
              ? end + 2
              : end + 1;
  }
  return lines;
}

// The page's bytes and its code page 932 text, kept from one page to the
// next at the largest size yet, so that a run does not allocate (and clear)
// the memory of every page afresh: the page is their first PageLength and
// TextLength bytes.
std::string PageBytes;
std::string PageText;
size_t PageLength = 0;
size_t TextLength = 0;

// The switch file as it was read for an earlier code: the answer is kept
// while the file's stamp stays the same, so that an unchanged file is not
// read again for every code, and an edit is seen at the next code.
struct NotesSwitch {
  std::string path;
  FileStamp stamp;
  bool on = false;
  bool read = false;
};
NotesSwitch Switch;

bool ReadNotesSwitch(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes))
    throw RunError(FromUtf8(u8"ファイルを読み込めませんでした。") + path);
  for (const std::string& line : SplitLines(bytes))
    if (Contains(line, "TOMEFINDER1=") &&
        ReplaceAll(line, "TOMEFINDER1=", "") == "1")
      return true;
  return false;
}

// The page's lines from its bytes. The whole page is decoded before its
// lines are split: a page that is not well-formed UTF-8 anywhere gives no
// lines.
StringList PageLines() {
  if (!DecodePage(std::string_view(PageBytes.data(), PageLength), PageText,
                  TextLength))
    return {};
  return EntityLines(std::string_view(PageText.data(), TextLength));
}

// What ReadPageFile found, and where.
std::string ReadPath;
FileRead ReadResult = FileRead::Absent;

RunError UnreadableFile(const std::string& path) {
  return RunError(FromUtf8(u8"ファイルを読み込めませんでした。") + path);
}

} // namespace

StringList PreparePageText(const std::string& path) {
  if (!ReadWholeFile(path, PageBytes))
    throw UnreadableFile(path);
  PageLength = PageBytes.size();
  return PageLines();
}

bool ReadPageFile(const std::string& path) {
  ReadPath = path;
  ReadResult = ReadFileIfPresent(path, PageBytes, PageLength);
  return ReadResult != FileRead::Absent;
}

StringList PrepareReadPage() {
  if (ReadResult != FileRead::Read)
    throw UnreadableFile(ReadPath);
  ReadResult = FileRead::Absent;
  return PageLines();
}

void ReleasePageBuffers() {
  std::string().swap(PageBytes);
  std::string().swap(PageText);
  PageLength = 0;
  TextLength = 0;
  std::string().swap(ReadPath);
  ReadResult = FileRead::Absent;
  Switch = NotesSwitch{};
}

std::string CleanCell(const std::string& text) {
  static const std::string kOpen = FromUtf8(u8"〈");
  static const std::string kClose = FromUtf8(u8"〉");
  return StripMarkup(ReplaceAll(ReplaceAll(text, kOpen, " ("), kClose, ") "));
}

bool AuthorNotesMode(const std::string& dataDir) {
  const std::string path = dataDir + "rivet.dat";
  FileStamp stamp;
  // The stamp is taken before the read: a change while the file is read
  // is seen at the next code. The same stamp is the same regular file,
  // unchanged.
  if (!ReadFileStamp(path, stamp)) {
    Switch.read = false;
    return false;
  }
  if (Switch.read && Switch.path == path && stamp == Switch.stamp)
    return Switch.on;
  Switch.read = false;
  if (!FileExists(path))
    return false;
  const bool on = ReadNotesSwitch(path);
  Switch = NotesSwitch{path, stamp, on, true};
  return on;
}
