// Page preparation and ParseDetailPage with a host that serves fuzzed
// author pages. Parts: switches ("N" turns the author notes on, "P" puts
// the private marker file in place), the detail page, three author pages
// served in the order they are downloaded (a missing part is a download
// that leaves no file), the author dictionary.
#include "support.h"

#include "catalogue/detail_page.h"
#include "common/host.h"
#include "common/record.h"
#include "names/names.h"
#include "plugin/driver.h"

namespace {

const std::vector<std::string>* Parts = nullptr;
std::size_t Downloads = 0;

constexpr std::size_t kFirstAuthorPage = 2;

TfBool TF_API ServeAuthorPage(const char* localPath, const char* /*address*/) {
  const std::optional<std::string> page =
      PartAt(*Parts, kFirstAuthorPage + Downloads++);
  PlaceFile(localPath, page);
  return page ? 1 : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::vector<std::string> parts = SplitParts(data, size);
  Parts = &parts;
  Downloads = 0;
  const std::string& switches = parts[0];
  DataDir = ScratchDirectory();
  const std::string page = DataDir + "Temp.html";
  PlaceFile(DataDir + "rivet.dat",
            Contains(switches, "N")
                ? std::optional<std::string>("TOMEFINDER1=1")
                : std::nullopt);
  PlaceFile(page + ".marlow_private", Contains(switches, "P")
                                          ? std::optional<std::string>("")
                                          : std::nullopt);
  PlaceFile(page, PartAt(parts, 1));
  PlaceFile(DataDir + "AuthDB.dat", PartAt(parts, 5));
  LoadAuthorDictionary(DataDir);
  Host.HTTPDownloadFunc = ServeAuthorPage;
  ClearRecord();
  try {
    if (ParseDetailPage(page, "http://catalogue.test"))
      CheckOutputLine(MakeOutputLine());
  } catch (const RunError&) {
    // A page that cannot be read ends the run; the driver shows it.
  }
  if (!PersonList.empty())
    Fail("the parse left persons behind");
  return 0;
}
