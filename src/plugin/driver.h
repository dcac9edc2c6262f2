// The lookup run: the per-code loop behind DownlaodFunc, the plug-in's
// identity behind funcGetInfo, and the steps of a code that tests reach on
// their own.
#pragma once

#include "common/text.h"

#include <cstdint>
#include <stdexcept>
#include <string>

// The data directory of the run in progress, exactly as the host passed it;
// data file names are appended to it directly.
extern std::string DataDir;

// A failure that ends the run; its message (code page 932) is shown.
struct RunError : std::runtime_error {
  explicit RunError(const std::string& message) : std::runtime_error(message) {}
};

// Copies the five identity texts into the host's buffers, each cut to
// bufferSize - 1 bytes (the low 16 bits count) and NUL-terminated. A size of
// 0 writes nothing; a null buffer is passed over.
void WriteIdentity(char* const buffers[5], std::uint32_t bufferSize);

// One whole run. Never throws: an unexpected error ends the run through
// its clean-up with a message.
void RunLookup(const char* dataDir, const char* outFile,
               const char* codeList) noexcept;

// The catalogue's scheme and host, without a trailing "/": the build's
// default, or TOMEFINDER_BASE_URL when that is set.
std::string CatalogueBaseAddress();
// The search page's address for a search code.
std::string SearchAddress(const std::string& searchCode,
                          const std::string& baseAddress);
// The detail link of a search page's lines; false when there is none.
bool FindDetailLink(const StringList& lines, const std::string& baseAddress,
                    std::string& link);
// Class code, price and ISBN of a combined input line, from Book.Isbn (the
// line as passed) and the host's search code.
void CompleteCodeFields(const std::string& searchCode);
// Fills the empty settings fields from the "Entry" section of the file.
void ApplySettingsDefaults(const std::string& settingsPath);
