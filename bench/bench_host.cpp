#include "bench_host.h"

#include "common/abi.h"

#include <cstdint>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace {

const PageStore* Pages = nullptr;
std::vector<std::vector<std::string>>* Recorded = nullptr;
benchmark::State* Paused = nullptr;

} // namespace

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

PageStore LoadPages(const std::string& catalogueDir) {
  PageStore pages;
  std::istringstream index(ReadFileBytes(catalogueDir + "/index.tsv"));
  for (std::string line; std::getline(index, line);) {
    const size_t tab = line.find('\t');
    if (line.empty() || line[0] == '#' || tab == std::string::npos)
      continue;
    const std::string path = catalogueDir + "/" + line.substr(tab + 1);
    pages[line.substr(0, tab)] = Page{path, ReadFileBytes(path)};
  }
  return pages;
}

void ServePages(const PageStore* pages) { Pages = pages; }

void PauseDuringDownloads(benchmark::State* state) { Paused = state; }

void RecordDownloads(std::vector<std::vector<std::string>>* codes) {
  Recorded = codes;
}

std::string AddressPath(const std::string& address) {
  const size_t scheme = address.find("://");
  const size_t path =
      address.find('/', scheme == std::string::npos ? 0 : scheme + 3);
  return path == std::string::npos ? std::string() : address.substr(path);
}

// As a careful host does, the old scratch file is removed first: no
// download ever leaves a previous page in its place. (It also spares the
// file system's flush of a file truncated and written again.)
void PlacePage(const std::string& localPath, const std::string* page) {
  unlink(localPath.c_str());
  if (!page)
    return;
  const int fd = open(localPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0)
    return;
  for (size_t done = 0; done < page->size();) {
    const ssize_t n = write(fd, page->data() + done, page->size() - done);
    if (n <= 0)
      break;
    done += static_cast<size_t>(n);
  }
  close(fd);
}

extern "C" {

// Every line is its own search code: the code check is the host's work,
// not the plug-in's.
TF_EXPORT const char* TF_API ISBNChkFunc(const char* line) {
  static std::string answer;
  answer = line ? line : "";
  if (Recorded)
    Recorded->emplace_back();
  return answer.c_str();
}

TF_EXPORT TfBool TF_API InternetConnectFunc(const char* /*address*/) {
  return 1;
}

TF_EXPORT TfBool TF_API HTTPDownloadFunc(const char* localPath,
                                         const char* address) {
  if (!localPath || !address || !Pages)
    return 0;
  try {
    const std::string path = AddressPath(address);
    if (Recorded && !Recorded->empty())
      Recorded->back().push_back(path);
    const auto found = Pages->find(path);
    if (Paused)
      Paused->PauseTiming();
    PlacePage(localPath,
              found == Pages->end() ? nullptr : &found->second.bytes);
    if (Paused)
      Paused->ResumeTiming();
    return found == Pages->end() ? 0 : 1;
  } catch (...) {
    return 0;
  }
}

// Looked up by the plug-in, never called.
#include "support/idle_services.h"

} // extern "C"
