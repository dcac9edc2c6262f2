// DownlaodFunc, the whole run, with a host that serves fuzzed pages.
//
// Parts: switches ("I" checks the codes as a careful host does, otherwise
// each line is its own search code; "N" turns the author notes on; "P"
// puts the private marker file in place; "O" makes the connection check
// fail from its second call), the code list, Setting.ini, AuthDB.dat,
// PubDB.dat, LabelsDB.dat, then the pages of each code in the order they
// are downloaded: search page, detail page, three author pages. A missing
// part is a missing file, or a download that leaves no file.
//
// The run looks the host services up in "shelfix.exe" beside the running
// executable: the build puts a link to this target there, and exports the
// services below by name. Setting.ini is read from the same directory.
#include "support.h"

#include "common/abi.h"
#include "common/text.h"
#include "isbn_check.h"
#include "platform/platform.h"

#include <filesystem>
#include <set>

extern "C" {
TF_EXPORT void TF_API DownlaodFunc(const char* dataDir, const char* outFile,
                                   const char* codeList);
}

namespace {

enum Part : std::size_t {
  kSwitches,
  kCodeList,
  kSettings,
  kAuthors,
  kPublishers,
  kLabels,
  kFirstPage
};

const std::vector<std::string>* Parts = nullptr;
bool CheckCodes = false;
bool OfflineFromSecond = false;
std::size_t ConnectCalls = 0;
std::size_t PageOfCode = 0; // downloads since the code's check

const std::string& DataDirectory() {
  static const std::string dir = ScratchDirectory() + "data/";
  return dir;
}

std::optional<std::string> Switched(const std::string& switches, char name,
                                    const char* content) {
  if (switches.find(name) == std::string::npos)
    return std::nullopt;
  return std::string(content);
}

// Everything the run may leave in the data directory: what was put there,
// the scratch file and the result.
void CheckDataDirectory() {
  static const std::set<std::string> kAllowed = {"AuthDB.dat",
                                                 "PubDB.dat",
                                                 "LabelsDB.dat",
                                                 "rivet.dat",
                                                 "Temp.html",
                                                 "result.txt",
                                                 "Temp.html.marlow_private"};
  for (const auto& entry : std::filesystem::directory_iterator(DataDirectory()))
    if (!kAllowed.contains(entry.path().filename().string()))
      Fail("the run left a file behind:", entry.path().string());
}

void CheckResult(const std::string& path) {
  std::string bytes;
  if (!PathExists(path))
    return;
  if (!ReadWholeFile(path, bytes))
    Fail("cannot read the result");
  if (!bytes.empty() && !bytes.ends_with("\r\n"))
    Fail("the result does not end with a line end");
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos;
       start = end + 2)
    CheckOutputLine(bytes.substr(start, end - start));
}

} // namespace

extern "C" {

TF_EXPORT const char* TF_API ISBNChkFunc(const char* line) {
  static std::string answer;
  PageOfCode = 0;
  answer = CheckCodes ? CheckSearchCode(line) : std::string(line);
  return answer.c_str();
}

TF_EXPORT TfBool TF_API InternetConnectFunc(const char* /*address*/) {
  return OfflineFromSecond && ++ConnectCalls >= 2 ? 0 : 1;
}

TF_EXPORT TfBool TF_API HTTPDownloadFunc(const char* localPath,
                                         const char* /*address*/) {
  const std::optional<std::string> page =
      PartAt(*Parts, kFirstPage + PageOfCode++);
  PlaceFile(localPath, page);
  return page ? 1 : 0;
}

// Looked up by the plug-in, never called.
#include "support/idle_services.h"

int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> parts = SplitParts(data, size);
  Parts = &parts;
  const std::string& switches = parts[0];
  CheckCodes = Contains(switches, "I");
  OfflineFromSecond = Contains(switches, "O");
  ConnectCalls = 0;
  const std::string& dir = DataDirectory();
  std::filesystem::create_directories(dir);
  PlaceFile(JoinPath(ExecutableDirectory(), "Setting.ini"),
            PartAt(parts, kSettings));
  PlaceFile(dir + "AuthDB.dat", PartAt(parts, kAuthors));
  PlaceFile(dir + "PubDB.dat", PartAt(parts, kPublishers));
  PlaceFile(dir + "LabelsDB.dat", PartAt(parts, kLabels));
  PlaceFile(dir + "rivet.dat", Switched(switches, 'N', "TOMEFINDER1=1"));
  PlaceFile(dir + "Temp.html.marlow_private", Switched(switches, 'P', ""));
  const std::string result = dir + "result.txt";
  const std::string codes = PartAt(parts, kCodeList).value_or("");
  DownlaodFunc(dir.c_str(), result.c_str(), codes.c_str());
  CheckDataDirectory();
  CheckResult(result);
  return 0;
}

} // extern "C"
