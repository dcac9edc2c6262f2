// Files on Windows, through the ANSI functions: paths are code page 932.
#include "platform/platform.h"

#include <windows.h>

namespace {

DWORD Attributes(const std::string& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES
                      : GetFileAttributesA(path.c_str());
}

// Another program may hold the file open, as an editor holds a dictionary.
HANDLE OpenForReading(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t left = bytes.size() - done;
    const DWORD chunk =
        left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) ||
        written == 0)
      return false;
    done += written;
  }
  return true;
}

} // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool PathExists(const std::string& path) {
  return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool DeleteFileAt(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

bool operator==(const FileStamp& a, const FileStamp& b) {
  return a.known && b.known && a.device == b.device && a.file == b.file &&
         a.size == b.size && a.modified == b.modified && a.changed == b.changed;
}

bool ReadFileStamp(const std::string& path, FileStamp& stamp) {
  if (!PathExists(path))
    return false;
  stamp = FileStamp{};
  // Only the attributes are read; any sharing is let through.
  HANDLE file =
      CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return true;
  BY_HANDLE_FILE_INFORMATION info;
  FILE_BASIC_INFO basic;
  if (GetFileInformationByHandle(file, &info) &&
      GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
    stamp.device = info.dwVolumeSerialNumber;
    stamp.file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                 info.nFileIndexLow;
    stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                 info.nFileSizeLow;
    stamp.modified = basic.LastWriteTime.QuadPart;
    stamp.changed = basic.ChangeTime.QuadPart;
    stamp.known = true;
  }
  CloseHandle(file);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  HANDLE file = OpenForReading(path);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0)
    bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[65536];
  bool ok = true;
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
      ok = false;
      break;
    }
    if (n == 0)
      break;
    bytes.append(buffer, n);
  }
  CloseHandle(file);
  if (!ok)
    bytes.clear();
  return ok;
}

FileRead ReadFileIfPresent(const std::string& path, std::string& buffer,
                           size_t& length) {
  length = 0;
  if (!FileExists(path))
    return FileRead::Absent;
  if (!ReadWholeFile(path, buffer))
    return FileRead::Failed;
  length = buffer.size();
  return FileRead::Read;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  bool ok = WriteAll(file, bytes);
  if (!CloseHandle(file))
    ok = false;
  if (!ok)
    DeleteFileA(path.c_str());
  return ok;
}
