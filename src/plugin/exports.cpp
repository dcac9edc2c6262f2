// The two functions the plug-in exports; nothing else leaves the library.
#include "common/abi.h"
#include "plugin/driver.h"

extern "C" {

TF_EXPORT void TF_API funcGetInfo(std::uint32_t /*reserved*/, char* funcName,
                                  char* title, char* author, char* version,
                                  char* kind, std::uint32_t bufferSize) {
  char* const buffers[5] = {funcName, title, author, version, kind};
  try {
    WriteIdentity(buffers, bufferSize);
  } catch (...) {
    // Only memory can run out here; the host's buffers stay as they were.
  }
}

TF_EXPORT void TF_API DownlaodFunc(const char* dataDir, const char* outFile,
                                   const char* codeList) {
  RunLookup(dataDir, outFile, codeList);
}

} // extern "C"
