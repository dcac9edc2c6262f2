// The host application's services, resolved by name for each run.
#pragma once

#include "common/abi.h"
#include "platform/platform.h"

struct HostServices {
  LibraryHandle Library = nullptr;
  TISBNChkFunc ISBNChkFunc = nullptr;
  TInternetConnectFunc InternetConnectFunc = nullptr;
  THTTPDownloadFunc HTTPDownloadFunc = nullptr;
};

extern HostServices Host;

// Loads the host executable ("shelfix.exe" in the running executable's
// directory) and looks up its sixteen services in order. A file that does
// not load and a missing function are reported to the user; false unless
// all sixteen were found.
bool LoadHostServices();
// Releases the host library, if one was loaded.
void FreeHostServices();
