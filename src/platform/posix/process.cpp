// The running process on POSIX: its executable, environment and messages.
#include "platform/platform.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

std::string ExecutableDirectory() {
  char buffer[PATH_MAX + 1];
  ssize_t n = readlink("/proc/self/exe", buffer, PATH_MAX);
  if (n <= 0)
    return ".";
  std::string path(buffer, static_cast<size_t>(n));
  size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (!dir.empty() && dir.back() == '/')
    return dir + name;
  return dir + "/" + name;
}

std::string EnvironmentValue(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? std::string(value) : std::string();
}

void ShowErrorMessage(const std::string& text) {
  std::string line = WideToUtf8(Cp932ToWide(text));
  // One message, one line: line breaks inside it become spaces.
  for (char& c : line)
    if (c == '\r' || c == '\n')
      c = ' ';
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}
