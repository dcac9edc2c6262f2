// The binary contract between the host application and the plug-in: the
// calling convention, the two entry points the plug-in exports and the
// services the host executable exports by name.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define TF_API __stdcall
#else
#define TF_API
#endif

#if defined(_WIN32)
#define TF_EXPORT
#else
#define TF_EXPORT __attribute__((visibility("default")))
#endif

// A boolean as the Windows API passes it; only its low byte is tested.
using TfBool = std::int32_t;

// The plug-in's entry points.
using TfuncGetInfo = void(TF_API*)(std::uint32_t reserved, char* funcName,
                                   char* title, char* author, char* version,
                                   char* kind, std::uint32_t bufferSize);
using TDownlaodFunc = void(TF_API*)(const char* dataDir, const char* outFile,
                                    const char* codeList);

// The host services the plug-in calls. The other thirteen exported names
// are looked up but never called; their signatures are the host's own.
using TISBNChkFunc = const char*(TF_API*)(const char* line);
using TInternetConnectFunc = TfBool(TF_API*)(const char* address);
using THTTPDownloadFunc = TfBool(TF_API*)(const char* localPath,
                                          const char* address);

// The sixteen names, in the order the plug-in looks them up.
inline constexpr const char* kHostServiceNames[16] = {
    "InternetConnectFunc",  "HTTPDownloadFunc", "HTTPBinaryDownloadFunc",
    "HTTPFlagDownloadFunc", "RefreshFunc",      "ExportFunc",
    "InportFunc",           "ISBNChkFunc",      "JANChkFunc",
    "ASINChkFunc",          "PluginListFunc",   "AcquireCDShow",
    "WaitWindowView",       "WaitBarView",      "WaitWindowClose",
    "SelectExportFunc"};
