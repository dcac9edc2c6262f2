// The names placed into the record: the publisher from the code's prefix,
// the persons of the statement into the author fields, the series from the
// label dictionary.
#include "names/names.h"

#include "common/record.h"

namespace {

// count characters of the text from its first-th character (from 1), fewer
// at its end; a double-byte character is never cut.
std::string CharSlice(const std::string& text, size_t first, size_t count) {
  size_t pos = 0;
  for (size_t skipped = 1; skipped < first && pos < text.size(); ++skipped)
    pos += CharLength(text, pos);
  size_t end = pos;
  for (size_t taken = 0; taken < count && end < text.size(); ++taken)
    end += CharLength(text, end);
  return text.substr(pos, end - pos);
}

const std::string& OpenBracket() {
  static const std::string open = FromUtf8(u8"［");
  return open;
}

const std::string& CloseBracket() {
  static const std::string close = FromUtf8(u8"］");
  return close;
}

struct Person {
  std::string name;
  std::string bracketReading;
  std::string reading; // from the author dictionary
  std::string note;    // from the author dictionary
};

// The name before "［" (untrimmed, the role tag after the bracket dropped
// with it) and the reading inside. The brackets are found as whole
// characters, so a name is never cut inside a double-byte character.
Person SplitReading(const std::string& entry) {
  Person person{entry, "", "", ""};
  const size_t open = FindWhole(entry, OpenBracket());
  if (open == std::string::npos)
    return person;
  const size_t from = open + OpenBracket().size();
  const size_t close = FindWhole(entry, CloseBracket(), from);
  person.bracketReading = entry.substr(
      from, close == std::string::npos ? std::string::npos : close - from);
  person.name = entry.substr(0, open);
  return person;
}

// The dictionary's name, reading and note for the person, when it has them.
void LookUpAuthor(Person& person) {
  if (AuthorSearchText().empty())
    return;
  std::string value;
  if (!FindAuthorEntry("|" + DictionaryKey(person.name) + "|", "|\r\n", value))
    return;
  person.reading = FieldAt(value, 2);
  person.note = FieldAt(value, 3);
  person.name = FieldAt(value, 1);
}

void Place(const Person& person) {
  const std::string& reading =
      person.reading.empty() ? person.bracketReading : person.reading;
  if (Book.Author1.empty()) {
    Book.Author1 = person.name;
    Book.Author1Reading = reading;
    Book.Author1Note = person.note;
  } else if (Book.Author2.empty()) {
    Book.Author2 = person.name;
    Book.Author2Reading = reading;
  } else {
    Book.Author3 += "\r\n" + person.name;
  }
}

} // namespace

void LookupPublisher(const std::string& dataDir) {
  LoadPublisherDictionary(dataDir);
  // 978/979, the group digit, then the prefix; or a 10-digit code of group 4.
  size_t first = 0;
  if (Book.Isbn.compare(0, 1, "9") == 0)
    first = 5;
  else if (Book.Isbn.compare(0, 1, "4") == 0)
    first = 2;
  if (first == 0)
    return;
  for (size_t n = 2; n <= 6; ++n) {
    const std::string prefix = CharSlice(Book.Isbn, first, n);
    // A code that ends before the prefix has none: "||" would land on any
    // line with an empty field.
    if (prefix.empty())
      return;
    if (FindPublisherEntry("|" + prefix + "|", "\r\n", Book.Publisher))
      return;
  }
}

void FinaliseAuthors() {
  for (const std::string& entry : PersonList) {
    const std::string existing =
        Book.Author1 + "\r\n" + Book.Author2 + "\r\n" + Book.Author3;
    Person person = SplitReading(entry);
    LookUpAuthor(person);
    if (!person.name.empty() && Contains(existing, person.name))
      continue;
    Place(person);
  }
  Book.Author3 = Trim(Book.Author3);
}

void NormaliseSeriesLabel() {
  if (LabelSearchText().empty())
    return;
  const std::string key =
      "|" + Book.Publisher + "|" + DictionaryKey(Book.Series) + "|";
  FindLabelEntry(key, "\r\n", Book.Series);
}
