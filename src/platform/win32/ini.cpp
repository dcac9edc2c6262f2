// Initialisation files on Windows: GetPrivateProfileStringA itself.
#include "platform/platform.h"

#include <windows.h>

#include <vector>

namespace {

// A bare file name would send GetPrivateProfileStringA to the Windows
// directory; the interface means the file at the path.
std::string ProfilePath(const std::string& path) {
  if (path.find_first_of("\\/:") == std::string::npos)
    return ".\\" + path;
  return path;
}

} // namespace

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback) {
  // An empty section or key would list names instead of reading a value.
  if (section.empty() || key.empty())
    return fallback;
  const std::string file = ProfilePath(path);
  std::vector<char> buffer(1024);
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(
        section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
        static_cast<DWORD>(buffer.size()), file.c_str());
    // A value that filled the buffer may have been cut: try a larger one.
    if (n + 1 < buffer.size() || buffer.size() >= (1u << 24))
      return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 4);
  }
}
