#include "common/record.h"

#include "common/text.h"
#include "platform/platform.h"

TBase Book;

namespace {

constexpr int kFieldCount = 66;

// The fields in declared order; a field added to TBase must be added here.
static_assert(sizeof(TBase) == kFieldCount * sizeof(std::string));
constexpr std::string TBase::*kFieldOrder[kFieldCount] = {
    &TBase::Isbn,           &TBase::Title,          &TBase::TitleReading,
    &TBase::Subtitle,       &TBase::Volume,         &TBase::Author1,
    &TBase::Author1Reading, &TBase::Author2,        &TBase::Author2Reading,
    &TBase::Author3,        &TBase::ClassCode,      &TBase::Reserved12,
    &TBase::Publisher,      &TBase::Series,         &TBase::Reserved15,
    &TBase::BookSize,       &TBase::DetailUrl,      &TBase::Extra1,
    &TBase::Extra2,         &TBase::PurchaseStatus, &TBase::Price,
    &TBase::TaxSetting,     &TBase::Reserved24,     &TBase::TaxSetting2,
    &TBase::PubYear,        &TBase::PubMonth,       &TBase::PubDay,
    &TBase::Reserved29,     &TBase::Reserved30,     &TBase::Reserved31,
    &TBase::Reserved32,     &TBase::Reserved33,     &TBase::Reserved34,
    &TBase::Reserved35,     &TBase::Pages,          &TBase::Description,
    &TBase::CoverUrl,       &TBase::Reserved39,     &TBase::Reserved40,
    &TBase::Reserved42,     &TBase::Reserved43,     &TBase::Reserved44,
    &TBase::Reserved45,     &TBase::Reserved46,     &TBase::ReadStatus,
    &TBase::Reserved48,     &TBase::Reserved49,     &TBase::Reserved50,
    &TBase::Reserved51,     &TBase::Reserved52,     &TBase::Reserved53,
    &TBase::Reserved54,     &TBase::Reserved55,     &TBase::Reserved56,
    &TBase::Reserved57,     &TBase::Reserved58,     &TBase::Reserved59,
    &TBase::Reserved60,     &TBase::Reserved61,     &TBase::Reserved62,
    &TBase::Reserved63,     &TBase::Reserved64,     &TBase::Reserved65,
    &TBase::Author1Note,    &TBase::Reserved67,     &TBase::Reserved68};

std::string& FieldInOrder(TBase& record, int index) {
  return record.*kFieldOrder[index];
}

bool IsReadingPosition(int position) {
  return position == 3 || position == 7 || position == 9;
}

// A byte that can follow a lead byte as the second byte of a character.
bool IsSecondByte(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// The text with every lead byte that has no second byte after it (at the
// end of the text, or before a control byte, a space, a quote or a comma)
// as "?". A reader of code page 932 takes a lead byte and the byte after
// it as one character, so such a byte would take the comma or the closing
// quote after it and shift every later item of the line, and would hide
// the byte after it from the escaping and the quoting. Such bytes come
// from a code list or a dictionary that is not code page 932 text, or
// from a value cut out in the middle of a character.
std::string WholeCharacters(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size(); ++pos) {
    if (!IsLeadByte(static_cast<unsigned char>(text[pos]))) {
      out += text[pos];
    } else if (pos + 1 < text.size() &&
               IsSecondByte(static_cast<unsigned char>(text[pos + 1]))) {
      out.append(text, pos, 2);
      ++pos;
    } else {
      out += '?';
    }
  }
  return out;
}

bool NeedsQuotes(const std::string& item) {
  for (size_t pos = 0; pos < item.size(); pos += CharLength(item, pos)) {
    unsigned char c = static_cast<unsigned char>(item[pos]);
    if (CharLength(item, pos) == 1 &&
        ((c >= 0x01 && c <= 0x20) || c == '"' || c == ','))
      return true;
  }
  return false;
}

void AppendItem(std::string& line, const std::string& item) {
  if (!NeedsQuotes(item)) {
    line += item;
    return;
  }
  line += '"';
  line += ReplaceAll(item, "\"", "\"\"");
  line += '"';
}

} // namespace

std::string* FieldAtPosition(TBase& record, int position) {
  if (position < 1 || position > kOutputPositions || position == 20 ||
      position == 41)
    return nullptr;
  int index = position <= 19   ? position - 1
              : position <= 40 ? position - 2
                               : position - 3;
  return &FieldInOrder(record, index);
}

void ClearRecord() {
  for (int i = 0; i < kFieldCount; ++i)
    FieldInOrder(Book, i).clear();
}

std::string EscapeField(const std::string& text) {
  std::string out = ReplaceAll(text, "\r\n", "$$");
  out = ReplaceAll(out, "\"", "\x81\x68");
  return ReplaceAll(out, ",", "\x81\x43");
}

std::string MapHalfWidth(const std::string& text) {
  return LocaleMapAnsi(text, kMapHalfWidth);
}

std::string MakeOutputLine() {
  std::string line;
  for (int position = 1; position <= kOutputPositions; ++position) {
    if (position > 1)
      line += ',';
    const std::string* field = FieldAtPosition(Book, position);
    if (!field)
      continue;
    AppendItem(line, EscapeField(WholeCharacters(IsReadingPosition(position)
                                                     ? MapHalfWidth(*field)
                                                     : *field)));
  }
  return line;
}
