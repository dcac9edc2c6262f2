// MakeOutputLine over any record. The parts fill the fields by output
// position (1, 2, ... skipping 20 and 41); a missing part leaves its field
// empty. The line always reads back as 68 items, by bytes and by
// characters alike; the item of a field that is code page 932 text is the
// escaped field.
#include "support.h"

#include "common/record.h"

namespace {

bool IsReadingPosition(int position) {
  return position == 3 || position == 7 || position == 9;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::vector<std::string> parts = SplitParts(data, size);
  ClearRecord();
  std::size_t next = 0;
  for (int position = 1; position <= kOutputPositions && next < parts.size();
       ++position)
    if (std::string* field = FieldAtPosition(Book, position))
      *field = parts[next++];
  const std::string line = MakeOutputLine();
  const std::vector<std::string> items = CheckOutputLine(line);
  for (int position = 1; position <= kOutputPositions; ++position) {
    const std::string* field = FieldAtPosition(Book, position);
    if (field && !IsCp932(*field))
      continue;
    const std::string expected =
        !field ? std::string()
               : EscapeField(IsReadingPosition(position) ? MapHalfWidth(*field)
                                                         : *field);
    if (items[position - 1] != expected)
      Fail("an item does not read back as its field, position",
           std::to_string(position));
  }
  return 0;
}
