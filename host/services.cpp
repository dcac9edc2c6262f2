#include "services.h"

#include "desktop.h"
#include "isbn_check.h"
#include "platform/platform.h"

#include <string>
#include <utility>

namespace {

ServiceSettings gSettings;
std::uint32_t gConnectCalls = 0;
std::uint32_t gDownloadCalls = 0;

std::string TextOrEmpty(const char* text) { return text ? text : ""; }

} // namespace

void ConfigureServices(ServiceSettings settings) {
  gSettings = std::move(settings);
  gConnectCalls = 0;
  gDownloadCalls = 0;
}

namespace {

// --stop-at: the user clicks the stop button while this download is under
// way; the host handles the click before the download returns.
void StopDuringDownload() {
  if (gDownloadCalls < UINT32_MAX)
    ++gDownloadCalls;
  if (gSettings.stopAt != 0 && gDownloadCalls == gSettings.stopAt)
    RaiseStopRequest();
}

} // namespace

extern "C" {

// The plug-in copies the answer at once; it stays valid until the next call.
// No exception leaves a service: a failure is an empty answer.
const char* TF_API ISBNChkFunc(const char* line) {
  static std::string answer;
  try {
    answer = gSettings.check == CheckMode::Identity
                 ? TextOrEmpty(line)
                 : CheckSearchCode(TextOrEmpty(line));
  } catch (...) {
    answer.clear();
  }
  return answer.c_str();
}

// --offline-from counts every call and wins over the live check.
TfBool TF_API InternetConnectFunc(const char* address) {
  if (gConnectCalls < UINT32_MAX)
    ++gConnectCalls;
  bool offline =
      gSettings.offlineFrom != 0 && gConnectCalls >= gSettings.offlineFrom;
  if (offline)
    return 0;
  if (!gSettings.live)
    return 1;
  try {
    return address && LiveConnectCheck(*gSettings.live, address) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

TfBool TF_API HTTPDownloadFunc(const char* localPath, const char* address) {
  StopDuringDownload();
  if (!localPath || !address)
    return 0;
  const Catalogue* catalogue =
      gSettings.catalogue ? &*gSettings.catalogue : nullptr;
  try {
    if (gSettings.live)
      return LiveDownload(*gSettings.live, localPath, address) ? 1 : 0;
    return ReplayDownload(catalogue, localPath, address) ? 1 : 0;
  } catch (...) {
    DeleteFileAt(localPath);
    return 0;
  }
}

std::int32_t TF_API HTTPBinaryDownloadFunc() { return 0; }
std::int32_t TF_API HTTPFlagDownloadFunc() { return 0; }
std::int32_t TF_API RefreshFunc() { return 0; }
std::int32_t TF_API ExportFunc() { return 0; }
std::int32_t TF_API InportFunc() { return 0; }
std::int32_t TF_API JANChkFunc() { return 0; }
std::int32_t TF_API ASINChkFunc() { return 0; }
std::int32_t TF_API PluginListFunc() { return 0; }
std::int32_t TF_API AcquireCDShow() { return 0; }
std::int32_t TF_API WaitWindowView() { return 0; }
std::int32_t TF_API WaitBarView() { return 0; }
std::int32_t TF_API WaitWindowClose() { return 0; }
std::int32_t TF_API SelectExportFunc() { return 0; }

} // extern "C"
