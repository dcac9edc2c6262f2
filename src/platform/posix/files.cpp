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

namespace {

// Reads the open file whole into the first length bytes of buffer, which
// is grown as needed and never shrunk, and closes it; regular and expected
// as its fstat told.
bool ReadOpenFile(int fd, bool regular, size_t expected, std::string& buffer,
                  size_t& length) {
  // Read straight into the buffer: room for the file's size, then as far
  // as the file really goes (it may have grown or shrunk meanwhile). What
  // the buffer held before is overwritten, not cleared first. A regular
  // file whose read stops short of the room left, at the size it had, has
  // ended: the read that would only say so is spared.
  if (buffer.size() < expected + 1)
    buffer.resize(expected + 1);
  size_t got = 0;
  bool ok = true;
  for (;;) {
    if (got == buffer.size())
      buffer.resize(buffer.size() * 2);
    const size_t room = buffer.size() - got;
    ssize_t n = read(fd, buffer.data() + got, room);
    if (n > 0) {
      got += static_cast<size_t>(n);
      if (regular && got == expected && static_cast<size_t>(n) < room)
        break;
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      ok = false;
      break;
    }
  }
  close(fd);
  length = ok ? got : 0;
  return ok;
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    bytes.clear();
    return false;
  }
  struct stat info;
  const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  size_t length = 0;
  const bool ok =
      ReadOpenFile(fd, regular, regular ? static_cast<size_t>(info.st_size) : 0,
                   bytes, length);
  bytes.resize(length);
  return ok;
}

FileRead ReadFileIfPresent(const std::string& path, std::string& buffer,
                           size_t& length) {
  length = 0;
  if (path.empty())
    return FileRead::Absent;
  // Not blocking, so that a pipe at the path is only looked at, as
  // FileExists does.
  const int fd =
      open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  struct stat info;
  if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (fd >= 0)
      close(fd);
    // Whatever is there is looked at as FileExists does.
    return FileExists(path) ? FileRead::Failed : FileRead::Absent;
  }
  return ReadOpenFile(fd, true, static_cast<size_t>(info.st_size), buffer,
                      length)
             ? FileRead::Read
             : FileRead::Failed;
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
