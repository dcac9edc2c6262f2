// setenv and unsetenv for the Windows build of the tests, which set the
// process environment the way the POSIX tests do. Forced into every test
// source of that build (tests/CMakeLists.txt).
#pragma once

#if defined(_WIN32)
#include <cstdlib>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (!overwrite && std::getenv(name))
    return 0;
  return _putenv_s(name, value);
}

// _putenv_s with an empty value removes the variable.
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
#endif
