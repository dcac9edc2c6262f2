#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

TempDir::TempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "tomefinder-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    ADD_FAILURE() << "mkdtemp failed";
  path_ = pattern;
}

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
