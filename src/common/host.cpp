#include "common/host.h"

#include "common/text.h"

HostServices Host;

namespace {

template <typename T> T As(void* address) {
  return reinterpret_cast<T>(address);
}

// Every name in order; false at the first one missing.
bool ResolveServices() {
  void* found[std::size(kHostServiceNames)] = {};
  for (size_t i = 0; i < std::size(kHostServiceNames); ++i) {
    found[i] = LibrarySymbol(Host.Library, kHostServiceNames[i]);
    if (!found[i]) {
      ShowErrorMessage(
          FromUtf8(u8"関数がありません。Shelfix、または、"
                   u8"プラグインのバージョンが古い可能性があります。"));
      return false;
    }
  }
  Host.InternetConnectFunc = As<TInternetConnectFunc>(found[0]);
  Host.HTTPDownloadFunc = As<THTTPDownloadFunc>(found[1]);
  Host.ISBNChkFunc = As<TISBNChkFunc>(found[7]);
  return true;
}

} // namespace

bool LoadHostServices() {
  FreeHostServices();
  try {
    std::string path = JoinPath(ExecutableDirectory(), "shelfix.exe");
    Host.Library = OpenLibrary(path);
    if (!Host.Library)
      ShowErrorMessage(path + FromUtf8(u8"がありません。"));
    return ResolveServices();
  } catch (...) {
    FreeHostServices();
    return false;
  }
}

void FreeHostServices() {
  CloseLibrary(Host.Library);
  Host = HostServices{};
}
