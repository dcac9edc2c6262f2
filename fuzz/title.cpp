// AnalyseTitle on any title row. Parts: the row, then a volume that an
// earlier row set (none when absent). A volume the analysis finds is a
// volume word, and a well-formed row gives well-formed title, volume and
// notes.
#include "support.h"

#include "common/record.h"
#include "normalise/normalise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::vector<std::string> parts = SplitParts(data, size);
  const std::string volumeBefore = PartAt(parts, 1).value_or("");
  ClearRecord();
  Book.Volume = volumeBefore;
  const std::string notes = AnalyseTitle(parts[0]);
  if (volumeBefore.empty() && !IsVolumeWord(Book.Volume))
    Fail("the volume found is not a volume word:", Book.Volume);
  if (IsCp932(parts[0]) && IsCp932(volumeBefore) &&
      !(IsCp932(Book.Title) && IsCp932(Book.Volume) && IsCp932(notes)))
    Fail("the analysis cut a character");
  return 0;
}
