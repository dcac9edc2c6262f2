#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#if defined(_WIN32)
#include <process.h>
#endif

#if defined(_WIN32)
// No mkdtemp: a new name from the process and a count, taken only when no
// directory of that name exists yet.
TempDir::TempDir() {
  static unsigned count = 0;
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const auto path = base / ("tomefinder-" + std::to_string(_getpid()) + "-" +
                              std::to_string(++count));
    std::error_code error;
    if (std::filesystem::create_directory(path, error)) {
      path_ = path.string();
      return;
    }
  }
  ADD_FAILURE() << "cannot create a temporary directory";
}
#else
TempDir::TempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "tomefinder-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    ADD_FAILURE() << "mkdtemp failed";
  path_ = pattern;
}
#endif

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const {
  return path_ + "/" + name;
}

std::string TempDir::Write(const std::string& name,
                           const std::string& bytes) const {
  std::string path = File(name);
  std::filesystem::create_directories(
      std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}
