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

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return false;
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
    bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      bytes.append(buffer, static_cast<size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      ok = false;
      break;
    }
  }
  close(fd);
  if (!ok)
    bytes.clear();
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
