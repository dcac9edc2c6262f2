// Dynamic libraries on POSIX.
#include "platform/platform.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

namespace {

std::string RealPath(const std::string& path) {
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

} // namespace

LibraryHandle OpenLibrary(const std::string& path) {
  std::string real = RealPath(path);
  if (real.empty())
    return nullptr;
  // As on Windows, loading the running executable's own file gives the
  // running program (whose exported names dlsym then finds).
  if (real == RealPath("/proc/self/exe"))
    return dlopen(nullptr, RTLD_NOW);
  return dlopen(real.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* LibrarySymbol(LibraryHandle library, const char* name) {
  if (!library || !name)
    return nullptr;
  return dlsym(library, name);
}

void CloseLibrary(LibraryHandle library) {
  if (library)
    dlclose(library);
}
