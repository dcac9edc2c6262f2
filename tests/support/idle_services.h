// The host services that a plug-in run looks up by name but never calls,
// for the programs that stand in as the host with services of their own
// (the download fuzz target, the benchmark): each answers 0. Include once,
// inside extern "C", in the one file that defines the other services,
// after common/abi.h and <cstdint>.
#pragma once

TF_EXPORT std::int32_t TF_API HTTPBinaryDownloadFunc() { return 0; }
TF_EXPORT std::int32_t TF_API HTTPFlagDownloadFunc() { return 0; }
TF_EXPORT std::int32_t TF_API RefreshFunc() { return 0; }
TF_EXPORT std::int32_t TF_API ExportFunc() { return 0; }
TF_EXPORT std::int32_t TF_API InportFunc() { return 0; }
TF_EXPORT std::int32_t TF_API JANChkFunc() { return 0; }
TF_EXPORT std::int32_t TF_API ASINChkFunc() { return 0; }
TF_EXPORT std::int32_t TF_API PluginListFunc() { return 0; }
TF_EXPORT std::int32_t TF_API AcquireCDShow() { return 0; }
TF_EXPORT std::int32_t TF_API WaitWindowView() { return 0; }
TF_EXPORT std::int32_t TF_API WaitBarView() { return 0; }
TF_EXPORT std::int32_t TF_API WaitWindowClose() { return 0; }
TF_EXPORT std::int32_t TF_API SelectExportFunc() { return 0; }
