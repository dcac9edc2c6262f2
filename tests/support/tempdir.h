// A fresh directory under the system's temporary folder, removed with its
// contents when the test ends.
#pragma once

#include <string>

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory, without a trailing "/".
  const std::string& Path() const { return path_; }
  // Path() + "/" + name.
  std::string File(const std::string& name) const;
  // Writes bytes to File(name) and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;

private:
  std::string path_;
};

// The file's bytes, or "<missing>" when it cannot be read.
std::string ReadBytes(const std::string& path);
