// The services the host executable exports by name for the plug-in. The
// plug-in finds them by looking the names up in the running program, so
// they are undecorated C names with the plug-in's calling convention, and
// host/exports.list puts exactly these sixteen in the dynamic symbol table.
#pragma once

#include "command_line.h"
#include "common/abi.h"
#include "live_download.h"
#include "replay.h"

#include <cstdint>
#include <optional>

struct ServiceSettings {
  CheckMode check = CheckMode::Isbn;
  std::uint32_t offlineFrom = 0; // 0: always connected
  std::uint32_t stopAt = 0;      // 0: no stop request from the host
  std::optional<Catalogue> catalogue;
  // Set: downloads and the connection check go to the catalogue's web
  // server, and the catalogue above is not used.
  std::optional<LiveSession> live;
};

// Sets how the services answer during the next run and restarts the counts
// of InternetConnectFunc and HTTPDownloadFunc calls.
void ConfigureServices(ServiceSettings settings);

extern "C" {
// The three the plug-in calls.
TF_EXPORT const char* TF_API ISBNChkFunc(const char* line);
TF_EXPORT TfBool TF_API InternetConnectFunc(const char* address);
TF_EXPORT TfBool TF_API HTTPDownloadFunc(const char* localPath,
                                         const char* address);

// Looked up by the plug-in, never called.
TF_EXPORT std::int32_t TF_API HTTPBinaryDownloadFunc();
TF_EXPORT std::int32_t TF_API HTTPFlagDownloadFunc();
TF_EXPORT std::int32_t TF_API RefreshFunc();
TF_EXPORT std::int32_t TF_API ExportFunc();
TF_EXPORT std::int32_t TF_API InportFunc();
TF_EXPORT std::int32_t TF_API JANChkFunc();
TF_EXPORT std::int32_t TF_API ASINChkFunc();
TF_EXPORT std::int32_t TF_API PluginListFunc();
TF_EXPORT std::int32_t TF_API AcquireCDShow();
TF_EXPORT std::int32_t TF_API WaitWindowView();
TF_EXPORT std::int32_t TF_API WaitBarView();
TF_EXPORT std::int32_t TF_API WaitWindowClose();
TF_EXPORT std::int32_t TF_API SelectExportFunc();
}
