// The running process on Windows: its executable, environment and messages.
#include "platform/platform.h"

#include <windows.h>

#include <vector>

namespace {

// Where the last separator ends, scanning by character: in code page 932 a
// trail byte may be 0x5C, the byte of "\" (as in "表"), and is no separator.
size_t LastSeparator(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < path.size())
      ++i;
    else if (c == '\\' || c == '/')
      last = i;
  }
  return last;
}

bool EndsWithSeparator(const std::string& path) {
  const size_t last = LastSeparator(path);
  return last != std::string::npos && last + 1 == path.size();
}

} // namespace

std::string ExecutableDirectory() {
  // In the plug-in this is the host's executable: the module of the process.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(),
                                       static_cast<DWORD>(buffer.size()));
    if (n == 0)
      return ".";
    if (n < buffer.size()) {
      const std::string path(buffer.data(), n);
      const size_t last = LastSeparator(path);
      return last == std::string::npos ? "." : path.substr(0, last);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (EndsWithSeparator(dir))
    return dir + name;
  return dir + "\\" + name;
}

std::string EnvironmentValue(const std::string& name) {
  const DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (needed == 0)
    return {};
  std::string value(needed, '\0');
  const DWORD n = GetEnvironmentVariableA(name.c_str(), value.data(), needed);
  value.resize(n < needed ? n : 0);
  return value;
}

void ShowErrorMessage(const std::string& text) {
  // No owner and no caption of its own: the system's "Error" title.
  MessageBoxA(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
}
