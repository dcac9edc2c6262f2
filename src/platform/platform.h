// The operating system as the plug-in and the stand-in host see it.
//
// Everything that touches the system goes through these functions. The
// POSIX backend lives in platform/posix/, the Win32 backend in
// platform/win32/; the build picks one, callers need no #ifdef.
//
// Texts are byte strings in code page 932 unless a name says otherwise;
// wide texts are UTF-16. Paths are byte strings handed to the system as
// they are (code page 932 on Windows, the file system's bytes on POSIX).
#pragma once

#include <cstdint>
#include <string>

// --- Code page 932 <-> UTF-16 ---------------------------------------------
// The conversions of MultiByteToWideChar and WideCharToMultiByte for code
// page 932 with no flags: an undefined or cut double-byte sequence becomes
// U+30FB, a character that code page 932 cannot hold becomes "?" (one per
// character, a surrogate pair included), with the best-fit forms Windows
// uses for the few Latin-1 signs the width maps produce.
std::u16string Cp932ToWide(const std::string& text);
std::string WideToCp932(const std::u16string& text);
// The bytes WideToCp932 writes for one UTF-16 unit that is not a
// surrogate and not ASCII: 0 when code page 932 cannot hold it (written
// "?"), below 0x100 one byte, otherwise lead << 8 | trail. For the readers
// that convert a character at a time.
std::uint16_t Cp932Entry(char16_t unit);

// UTF-8 <-> UTF-16 for the stand-in host and for messages on POSIX.
// Malformed UTF-8 decodes to U+FFFD per bad byte; lone surrogates encode
// as U+FFFD.
std::u16string Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::u16string& text);

// --- Locale mapping (user default locale, Japanese) --------------------------
// Flags as LCMapString takes them.
constexpr std::uint32_t kMapHalfWidth = 0x00400000; // LCMAP_HALFWIDTH
constexpr std::uint32_t kMapFullWidth = 0x00800000; // LCMAP_FULLWIDTH

// LCMapStringW: the mapped text; empty for an empty text or a mapping that
// fails (unknown flags).
std::u16string LocaleMapWide(const std::u16string& text, std::uint32_t flags);
// LCMapStringA: the same map applied to a code page 932 text (converted to
// UTF-16, mapped, converted back). The whole text is mapped, however long.
std::string LocaleMapAnsi(const std::string& text, std::uint32_t flags);
// CharUpperBuffA over the whole text: ASCII and full-width Latin letters,
// Greek, Cyrillic and the small Roman numerals become their capitals.
std::string LocaleUpper(const std::string& text);

// --- Files -------------------------------------------------------------------
bool FileExists(const std::string& path); // a regular file (or a link to one)
// Anything at the path: a file, a directory or another kind of entry.
bool PathExists(const std::string& path);
bool DeleteFileAt(const std::string& path);
// Reads the whole file into bytes; false (bytes emptied) when it cannot be
// opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
// FileExists and ReadWholeFile in one, for a caller that reads file after
// file into one buffer: the file's bytes are the first length bytes of
// buffer, which is grown as needed and never shrunk (so not cleared again
// for every file). Absent (length 0) when there is no regular file at the
// path, Failed (length 0) when there is one that cannot be read. Spares
// the look that precedes the read.
enum class FileRead { Absent, Read, Failed };
FileRead ReadFileIfPresent(const std::string& path, std::string& buffer,
                           size_t& length);
// What a file is at a moment: which file (device and file number), its
// size and its time stamps, the time of the last change of its data and
// that of its last change of any kind (the status change, which no
// program can set back). An edit that keeps the size and puts the
// modification time back still moves the change time.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t file = 0;
  std::uint64_t size = 0;
  std::int64_t modified = 0; // nanoseconds, or 100 ns units on Windows
  std::int64_t changed = 0;
  // False when the system could not say all of the above: such a stamp
  // equals no other.
  bool known = false;
};
bool operator==(const FileStamp& a, const FileStamp& b);
// The stamp of whatever is at the path; false when nothing is there (as
// PathExists says).
bool ReadFileStamp(const std::string& path, FileStamp& stamp);
// Writes the file whole, replacing any file of that name; false when it
// cannot be written, and then no partial file is left behind.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// --- The running process -----------------------------------------------------
// Directory of the running executable, without a trailing separator.
std::string ExecutableDirectory();
// dir + separator + name, with the platform's separator ("\\" or "/").
std::string JoinPath(const std::string& dir, const std::string& name);
// Value of an environment variable, empty when it is not set.
std::string EnvironmentValue(const std::string& name);

// --- Initialisation files ----------------------------------------------------
// GetPrivateProfileStringA: the value of key in section of the file at
// path, trimmed, with one pair of enclosing quotes removed. Section and key
// are compared without regard to ASCII case. A key present with an empty
// value gives empty text; a missing file, section or key gives fallback.
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback);

// --- Dynamic libraries -------------------------------------------------------
using LibraryHandle = void*;
// Loads the file as a library; the running executable's own file gives the
// running program. Null on failure.
LibraryHandle OpenLibrary(const std::string& path);
// Address of the exported name, null when it is not there.
void* LibrarySymbol(LibraryHandle library, const char* name);
void CloseLibrary(LibraryHandle library);

// --- Messages ----------------------------------------------------------------
// The modal error box (error icon, no owner, no caption of its own); on
// POSIX the text, converted to UTF-8, as one line on standard error.
void ShowErrorMessage(const std::string& text);
