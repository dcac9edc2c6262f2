// The dictionary check. Every search runs as the lookup runs it: on the
// search text that the plug-in's load builds from the file's lines
// (SplitLines, SearchText), with the plug-in's EntryOffset; keys are
// compared with the plug-in's DictionaryKey.
#include "dictionary_check.h"

#include "common/record.h"
#include "common/text.h"
#include "names/names.h"
#include "platform/platform.h"
#include "terminal_text.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t npos = std::string::npos;

struct Line {
  std::string text;
  const char* end;    // "CR LF", "LF", "CR", or "" after the last line
  std::size_t offset; // where the line starts in the search text
};

struct Dictionary {
  std::vector<Line> lines;
  std::string text; // every line followed by CR LF, as the lookup searches
};

Dictionary ReadDictionary(const std::string& bytes) {
  Dictionary dictionary;
  const StringList lines = SplitLines(bytes);
  dictionary.text = SearchText(lines);
  std::size_t pos = 0, offset = 0;
  for (const std::string& text : lines) {
    pos += text.size();
    const char* end = "";
    if (bytes.compare(pos, 2, "\r\n") == 0) {
      end = "CR LF";
      pos += 2;
    } else if (pos < bytes.size()) {
      end = bytes[pos] == '\r' ? "CR" : "LF";
      ++pos;
    }
    dictionary.lines.push_back({text, end, offset});
    offset += text.size() + 2;
  }
  return dictionary;
}

// The number (from 1) of the line in which an offset of the search text
// lies.
std::size_t LineAt(const Dictionary& dictionary, std::size_t offset) {
  const auto after = std::upper_bound(
      dictionary.lines.begin(), dictionary.lines.end(), offset,
      [](std::size_t at, const Line& line) { return at < line.offset; });
  return static_cast<std::size_t>(after - dictionary.lines.begin());
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Number(std::size_t n) { return std::to_string(n); }

std::string HexByte(unsigned char byte) {
  static const char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0xF];
}

// The findings of one line.
struct Findings {
  std::size_t line;
  std::vector<DictionaryFinding> found;
  void Add(const std::string& text) { found.push_back({line, text}); }
};

// --- Code page 932
// ------------------------------------------------------------

// The position of the first byte sequence that is no character of code
// page 932, or npos. Single bytes 0x80, 0xA0 and 0xFD-0xFF are none (the
// system maps them only so that they survive a round trip); a pair is one
// when the code page defines it.
std::size_t FirstNonCharacter(const std::string& text) {
  // ・ is a character, though it decodes to the default character.
  static const std::string kMiddleDot = FromUtf8(u8"・");
  static const std::u16string kDefault(1, u'\u30FB');
  for (std::size_t pos = 0; pos < text.size();) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (!IsLeadByte(byte)) {
      if (byte == 0x80 || byte == 0xA0 || byte >= 0xFD)
        return pos;
      ++pos;
      continue;
    }
    if (pos + 1 == text.size())
      return pos;
    const std::string pair = text.substr(pos, 2);
    if (pair != kMiddleDot && Cp932ToWide(pair) == kDefault)
      return pos;
    pos += 2;
  }
  return npos;
}

bool CheckCharacters(const std::string& text, Findings& out) {
  const std::size_t pos = FirstNonCharacter(text);
  if (pos == npos)
    return true;
  std::string bytes = HexByte(static_cast<unsigned char>(text[pos]));
  if (IsLeadByte(static_cast<unsigned char>(text[pos])))
    bytes += pos + 1 < text.size()
                 ? " " + HexByte(static_cast<unsigned char>(text[pos + 1]))
                 : " at the end of the line";
  out.Add("not valid code page 932 text: byte " + Number(pos + 1) + " (" +
          bytes + ") is no character; the line is not checked further");
  return false;
}

// --- Key form ----------------------------------------------------------------

// ヵ, ヶ, ヮ, ヰ and ヱ have no half-width form: the key form keeps them.
bool IsFullWidthKatakana(const std::string& ch) {
  static const std::string kLongVowel = FromUtf8(u8"ー");
  return ch == kLongVowel ||
         (ch.size() == 2 && static_cast<unsigned char>(ch[0]) == 0x83 &&
          static_cast<unsigned char>(ch[1]) >= 0x40 &&
          static_cast<unsigned char>(ch[1]) <= 0x96);
}

void AddOnce(std::vector<std::string>& list, const std::string& item) {
  if (std::find(list.begin(), list.end(), item) == list.end())
    list.push_back(item);
}

// What keeps a key written in a file from the key form, in the order met.
std::string KeyFormFaults(const std::string& key) {
  static const std::string kDropped[] = {FromUtf8(u8"・"), FromUtf8(u8"☆"),
                                         FromUtf8(u8"★"), FromUtf8(u8"♪")};
  static const std::string kNi[] = {FromUtf8(u8"ニ"), FromUtf8(u8"ﾆ")};
  static const std::string kHalfLongVowel = FromUtf8(u8"ｰ");
  static const std::string kWideSpace = FromUtf8(u8"　");
  std::vector<std::string> faults;
  if (!key.empty() && (static_cast<unsigned char>(key.front()) < 0x20 ||
                       static_cast<unsigned char>(key.back()) < 0x20))
    AddOnce(faults, "a control character at an end");
  for (std::size_t pos = 0; pos < key.size();) {
    const std::string ch = key.substr(pos, CharLength(key, pos));
    pos += ch.size();
    if (ch == " " || ch == kWideSpace)
      AddOnce(faults, "a space");
    else if (std::find(std::begin(kDropped), std::end(kDropped), ch) !=
                 std::end(kDropped) ||
             std::find(std::begin(kNi), std::end(kNi), ch) != std::end(kNi) ||
             ch == kHalfLongVowel)
      AddOnce(faults, Quoted(ch));
    else if (IsFullWidthKatakana(ch) && MapHalfWidth(ch) != ch)
      AddOnce(faults, "full-width katakana");
    else if (ch.size() == 2 && MapHalfWidth(ch) != ch)
      AddOnce(faults, "full-width letters, digits or signs");
  }
  std::string text;
  for (const std::string& fault : faults)
    text += (text.empty() ? "" : ", ") + fault;
  return text;
}

// False, with a finding, when the key is not in key form: no name from
// the catalogue gives such a key, so no lookup searches it.
bool CheckKeyForm(const char* what, const std::string& key, Findings& out) {
  // A name's ニ becomes 二 before the half-width map, so a half-width ﾆ in
  // a file key stands where a name gives 二.
  static const std::string kHalfWidthNi = FromUtf8(u8"ﾆ");
  static const std::string kKanjiNi = FromUtf8(u8"二");
  const std::string keyForm =
      DictionaryKey(ReplaceAll(key, kHalfWidthNi, kKanjiNi));
  const std::string faults = KeyFormFaults(key);
  if (keyForm == key && faults.empty())
    return true;
  out.Add(std::string(what) + " " + Quoted(key) + " is not in key form" +
          (faults.empty() ? "" : " (" + faults + ")") + "; write " +
          Quoted(keyForm));
  return false;
}

// --- Searches ----------------------------------------------------------------

// The lookup of searchKey, which line index starts with, lands in an
// earlier line when the key is found there first.
void CheckFoundFirst(const Dictionary& dictionary, std::size_t index,
                     const std::string& searchKey, Findings& out) {
  const std::size_t hit = EntryOffset(dictionary.text, searchKey);
  if (hit == npos || hit >= dictionary.lines[index].offset)
    return;
  const std::size_t at = LineAt(dictionary, hit);
  out.Add(Quoted(searchKey) + " is found first in line " + Number(at) +
          ", where the lookup stops: " + dictionary.lines[at - 1].text);
}

// An author entry's value ends at the first "|" followed by CR LF: the
// line's own closing "|", after the "|" that ends the key.
void CheckClosingBar(const Dictionary& dictionary, std::size_t index,
                     std::size_t keyEnd, Findings& out) {
  const Line& line = dictionary.lines[index];
  if (line.text.size() > keyEnd + 1 && EndsWithWhole(line.text, "|"))
    return;
  const std::size_t end =
      FindBytes(dictionary.text, "|\r\n", line.offset + keyEnd + 1);
  std::string where;
  if (end == npos)
    where = "the entry runs on to the end of the file";
  else if (LineAt(dictionary, end) == index + 1)
    where = "the last character ends in the byte of \"|\", and the entry "
            "ends inside it";
  else
    where = "the entry runs on to line " + Number(LineAt(dictionary, end));
  out.Add("no closing \"|\": " + where);
}

// The end of the field that starts after the "|" at start, or npos.
std::size_t FieldEnd(const std::string& text, std::size_t start) {
  return start < text.size() && text[start] == '|'
             ? FindWhole(text, "|", start + 1)
             : npos;
}

void CheckAuthorLine(const Dictionary& dictionary, std::size_t index,
                     Findings& out) {
  const std::string& text = dictionary.lines[index].text;
  const std::size_t keyEnd = FieldEnd(text, 0);
  if (keyEnd == npos) {
    out.Add("not an entry of the form |key|name|reading|note|");
    return;
  }
  if (CheckKeyForm("key", text.substr(1, keyEnd - 1), out))
    CheckFoundFirst(dictionary, index, text.substr(0, keyEnd + 1), out);
  CheckClosingBar(dictionary, index, keyEnd, out);
}

std::size_t CharCount(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharLength(text, pos))
    ++count;
  return count;
}

// The first count characters.
std::string CharPrefix(const std::string& text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < text.size(); ++n)
    pos += CharLength(text, pos);
  return text.substr(0, pos);
}

// The lookup tries the code's prefixes of 2 to 6 characters, shortest
// first, and stops at the first one found.
void CheckPublisherLine(const Dictionary& dictionary, std::size_t index,
                        Findings& out) {
  const std::string& text = dictionary.lines[index].text;
  const std::size_t prefixEnd = FieldEnd(text, 0);
  if (prefixEnd == npos) {
    out.Add("not an entry of the form |prefix|publisher");
    return;
  }
  const std::string prefix = text.substr(1, prefixEnd - 1);
  const std::size_t length = CharCount(prefix);
  if (length < 2 || length > 6) {
    out.Add("prefix " + Quoted(prefix) +
            " is never looked up: the lookup tries prefixes of 2 to 6 digits");
    return;
  }
  for (std::size_t n = 2; n < length; ++n) {
    const std::string shorter = "|" + CharPrefix(prefix, n) + "|";
    const std::size_t hit = EntryOffset(dictionary.text, shorter);
    if (hit == npos)
      continue;
    const std::size_t at = LineAt(dictionary, hit);
    out.Add("prefix " + Quoted(prefix) + " is never reached: the shorter " +
            Quoted(shorter) + " is tried first and found in line " +
            Number(at) + ": " + dictionary.lines[at - 1].text);
    return;
  }
  CheckFoundFirst(dictionary, index, text.substr(0, prefixEnd + 1), out);
}

void CheckLabelLine(const Dictionary& dictionary, std::size_t index,
                    Findings& out) {
  const std::string& text = dictionary.lines[index].text;
  const std::size_t publisherEnd = FieldEnd(text, 0);
  const std::size_t seriesEnd =
      publisherEnd == npos ? npos : FieldEnd(text, publisherEnd);
  if (seriesEnd == npos) {
    out.Add("not an entry of the form |publisher|series key|replacement");
    return;
  }
  const std::string series =
      text.substr(publisherEnd + 1, seriesEnd - publisherEnd - 1);
  if (CheckKeyForm("series key", series, out))
    CheckFoundFirst(dictionary, index, text.substr(0, seriesEnd + 1), out);
}

void CheckLine(DictionaryKind kind, const Dictionary& dictionary,
               std::size_t index, Findings& out) {
  const std::string& text = dictionary.lines[index].text;
  if (Trim(text).empty() || !CheckCharacters(text, out))
    return;
  switch (kind) {
  case DictionaryKind::Author:
    CheckAuthorLine(dictionary, index, out);
    break;
  case DictionaryKind::Publisher:
    CheckPublisherLine(dictionary, index, out);
    break;
  case DictionaryKind::Label:
    CheckLabelLine(dictionary, index, out);
    break;
  }
}

// The path of a file in DIR: appended directly when DIR ends with a
// separator, as the plug-in appends it to the data directory.
std::string PathIn(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '/' || EndsWithWhole(dir, "\\"))
    return dir + name;
  return JoinPath(dir, name);
}

std::string Summary(std::size_t problems, const std::string& unread) {
  std::string text = problems == 0   ? "no problems found"
                     : problems == 1 ? "1 problem found"
                                     : Number(problems) + " problems found";
  if (!unread.empty())
    text += "; not read:" + unread;
  return text + "\n";
}

} // namespace

const char* DictionaryFileName(DictionaryKind kind) {
  switch (kind) {
  case DictionaryKind::Author:
    return "AuthDB.dat";
  case DictionaryKind::Publisher:
    return "PubDB.dat";
  case DictionaryKind::Label:
    return "LabelsDB.dat";
  }
  return "";
}

std::vector<DictionaryFinding> CheckDictionary(DictionaryKind kind,
                                               const std::string& bytes) {
  const Dictionary dictionary = ReadDictionary(bytes);
  std::vector<DictionaryFinding> found;
  std::size_t firstEnded = 0; // the first line with a line end, from 1
  bool mixedReported = false;
  for (std::size_t index = 0; index < dictionary.lines.size(); ++index) {
    Findings out{index + 1, {}};
    CheckLine(kind, dictionary, index, out);
    const char* end = dictionary.lines[index].end;
    if (*end && firstEnded == 0) {
      firstEnded = index + 1;
    } else if (*end && !mixedReported &&
               std::string_view(end) != dictionary.lines[firstEnded - 1].end) {
      out.Add(std::string("mixed line ends: this line ends with ") + end +
              ", line " + Number(firstEnded) + " with " +
              dictionary.lines[firstEnded - 1].end);
      mixedReported = true;
    }
    found.insert(found.end(), out.found.begin(), out.found.end());
  }
  return found;
}

int RunCheckDictionaries(const std::string& dir) {
  if (!dir.empty() && (!PathExists(dir) || FileExists(dir))) {
    std::fprintf(stderr, "shelfix: check-dictionaries: %s is no directory\n",
                 dir.c_str());
    return kCheckUnreadable;
  }
  std::string report, unread;
  std::size_t problems = 0;
  for (DictionaryKind kind : {DictionaryKind::Author, DictionaryKind::Publisher,
                              DictionaryKind::Label}) {
    const std::string name = DictionaryFileName(kind);
    const std::string path = PathIn(dir, name);
    std::string bytes;
    if (!PathExists(path)) {
      report += name + ": missing, so the dictionary is empty\n";
    } else if (!ReadWholeFile(path, bytes)) {
      std::fprintf(stderr, "shelfix: check-dictionaries: cannot read %s\n",
                   path.c_str());
      unread += " " + name;
    } else {
      for (const DictionaryFinding& finding : CheckDictionary(kind, bytes)) {
        report += name + ":" + Number(finding.line) + ": " +
                  Cp932ToTerminal(finding.text) + "\n";
        ++problems;
      }
    }
  }
  report += Summary(problems, unread);
  std::fwrite(report.data(), 1, report.size(), stdout);
  std::fflush(stdout);
  if (!unread.empty())
    return kCheckUnreadable;
  return problems == 0 ? kCheckClean : kCheckFound;
}
