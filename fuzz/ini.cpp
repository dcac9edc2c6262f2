// ReadIniString on any initialisation file. Parts: the file, then the
// section and the key (those of Setting.ini when absent). A value never
// runs over a line end.
#include "support.h"

#include "common/text.h"
#include "platform/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::vector<std::string> parts = SplitParts(data, size);
  const std::string path = ScratchDirectory() + "Setting.ini";
  PlaceFile(path, parts[0]);
  const std::string fallback = "\x01"
                               "fallback";
  const std::string value =
      ReadIniString(path, PartAt(parts, 1).value_or("Entry"),
                    PartAt(parts, 2).value_or("TaxSet"), fallback);
  if (value == fallback)
    return 0;
  if (value.find_first_of("\r\n") != std::string::npos)
    Fail("a value ran over a line end");
  return 0;
}
