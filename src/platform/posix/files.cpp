// Files on POSIX.
#include "platform/platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool FileExists(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 &&
         S_ISREG(info.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool DeleteFileAt(const std::string& path) { return unlink(path.c_str()) == 0; }

bool operator==(const FileStamp& a, const FileStamp& b) {
  return a.known && b.known && a.device == b.device && a.file == b.file &&
         a.size == b.size && a.modified == b.modified && a.changed == b.changed;
}

bool ReadFileStamp(const std::string& path, FileStamp& stamp) {
  struct stat info;
  if (path.empty() || stat(path.c_str(), &info) != 0)
    return false;
  constexpr std::int64_t kNano = 1000000000;
  stamp.device = static_cast<std::uint64_t>(info.st_dev);
  stamp.file = static_cast<std::uint64_t>(info.st_ino);
  stamp.size = static_cast<std::uint64_t>(info.st_size);
  stamp.modified = info.st_mtim.tv_sec * kNano + info.st_mtim.tv_nsec;
  stamp.changed = info.st_ctim.tv_sec * kNano + info.st_ctim.tv_nsec;
  stamp.known = true;
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    bytes.clear();
    return false;
  }
  // Read straight into the text: its size as the file's, then as far as
  // the file really goes (it may have grown or shrunk meanwhile). What the
  // text held before is overwritten, not cleared first.
  struct stat info;
  size_t expected = 0;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
    expected = static_cast<size_t>(info.st_size);
  bytes.resize(expected + 1);
  size_t got = 0;
  bool ok = true;
  for (;;) {
    if (got == bytes.size())
      bytes.resize(bytes.size() * 2);
    ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
    if (n > 0) {
      got += static_cast<size_t>(n);
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      ok = false;
      break;
    }
  }
  close(fd);
  bytes.resize(ok ? got : 0);
  return ok;
}

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

} // namespace

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0)
    return false;
  bool ok = WriteAll(fd, bytes);
  if (close(fd) != 0)
    ok = false;
  if (!ok)
    unlink(path.c_str());
  return ok;
}
