// Dynamic libraries on Windows.
#include "platform/platform.h"

#include <windows.h>

#include <cctype>

namespace {

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 2];
  const DWORD n =
      GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string ModulePath(HMODULE module) {
  char buffer[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(module, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// File names on Windows do not regard ASCII case.
bool SamePath(const std::string& a, const std::string& b) {
  return !a.empty() &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(),
                        static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

} // namespace

LibraryHandle OpenLibrary(const std::string& path) {
  if (path.empty())
    return nullptr;
  // The running executable's own file gives the running program, with its
  // reference counted so that CloseLibrary stays balanced.
  if (SamePath(FullPath(path), ModulePath(nullptr))) {
    HMODULE self = nullptr;
    return GetModuleHandleExA(0, nullptr, &self) ? self : nullptr;
  }
  return LoadLibraryA(path.c_str());
}

void* LibrarySymbol(LibraryHandle library, const char* name) {
  if (!library || !name)
    return nullptr;
  return reinterpret_cast<void*>(
      GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(LibraryHandle library) {
  if (library)
    FreeLibrary(static_cast<HMODULE>(library));
}
