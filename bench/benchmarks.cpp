// The plug-in's benchmarks, each measured beside its floor in the same run:
//
// - page_parse/SIZE: ParseDetailPage on a detail page of SIZE bytes (the
//   page preparation included; its author pages are served from memory,
//   the timing paused while the host writes them into the scratch file),
//   page_prepare/SIZE: PreparePageText alone, beside page_iconv/SIZE (glibc
//   iconv converting the same bytes from UTF-8 to code page 932) and
//   page_copy/SIZE (a plain copy of them). Each of the four takes the same
//   pages: the detail page and the author pages its parse downloads, each
//   page on its own. Throughput in bytes of those pages, all of them.
// - run/codes:N/lines:L: a whole DownlaodFunc run of N codes with the data
//   directory whose AuthDB.dat has L lines (LabelsDB.dat L/10, PubDB.dat
//   L/5), through a host that answers every download from memory.
//   floor/...: reading, for every code, the three dictionaries and the
//   code's pages once each from the page cache. host/...: the host's own
//   share of a run, writing the code's pages into the scratch file.
//
// The corpus is made at build time (make_corpus.py); --corpus=DIR picks
// another one, such as the small corpus the tests run.
#include "bench_host.h"
#include "heap_meter.h"

#include "catalogue/detail_page.h"
#include "common/abi.h"
#include "common/host.h"
#include "common/record.h"
#include "names/names.h"
#include "plugin/driver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
TF_EXPORT void TF_API DownlaodFunc(const char* dataDir, const char* outFile,
                                   const char* codeList);
}

namespace {

struct Corpus {
  std::string dir;
  std::vector<int> codes;
  std::vector<int> lines;
  std::vector<std::pair<int, std::string>> pages; // target size, path
  PageStore store;
  // The address paths each code downloads, in order, for the largest run.
  std::vector<std::vector<std::string>> downloads;
  // For each detail page (by path), the author pages its parse downloads.
  std::map<std::string, std::vector<const Page*>> authorPages;
};

Corpus TheCorpus;

std::vector<int> Numbers(const std::string& list) {
  std::vector<int> numbers;
  std::istringstream in(list);
  for (std::string item; std::getline(in, item, ',');)
    numbers.push_back(std::stoi(item));
  return numbers;
}

std::string DataDirectory(int lines) {
  return TheCorpus.dir + "/data-" + std::to_string(lines) + "/";
}

std::string CodeList(int codes) {
  return ReadFileBytes(TheCorpus.dir + "/codes-" + std::to_string(codes) +
                       ".txt");
}

// One run of the largest code list, to learn which pages each code reads.
void RecordTheDownloads() {
  const int codes =
      *std::max_element(TheCorpus.codes.begin(), TheCorpus.codes.end());
  const std::string dir = DataDirectory(TheCorpus.lines.front());
  const std::string out = dir + "result.txt";
  ServePages(&TheCorpus.store);
  RecordDownloads(&TheCorpus.downloads);
  DownlaodFunc(dir.c_str(), out.c_str(), CodeList(codes).c_str());
  RecordDownloads(nullptr);
}

void RecordTheAuthorPages();

void LoadCorpus(const std::string& dir) {
  TheCorpus.dir = dir;
  std::istringstream manifest(ReadFileBytes(dir + "/corpus.tsv"));
  for (std::string line; std::getline(manifest, line);) {
    const size_t tab = line.find('\t');
    const std::string key = line.substr(0, tab);
    const std::string value = line.substr(tab + 1);
    if (key == "codes")
      TheCorpus.codes = Numbers(value);
    else if (key == "lines")
      TheCorpus.lines = Numbers(value);
  }
  std::istringstream pages(ReadFileBytes(dir + "/pages.tsv"));
  for (std::string line; std::getline(pages, line);) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos)
      TheCorpus.pages.emplace_back(std::stoi(line.substr(0, tab)),
                                   dir + "/" + line.substr(tab + 1));
  }
  TheCorpus.store = LoadPages(dir + "/catalogue");
  RecordTheDownloads();
  RecordTheAuthorPages();
}

std::size_t FileSize(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? static_cast<size_t>(info.st_size) : 0;
}

// --- Pages -------------------------------------------------------------------

void SetPageBytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(bytes));
  state.counters["page_bytes"] = static_cast<double>(bytes);
}

// The page's run: the smallest data directory's dictionaries loaded, the
// author pages downloaded into its scratch file.
struct PageRun {
  explicit PageRun(benchmark::State& state) {
    if (!Start())
      state.SkipWithError("the host services cannot be found");
  }
  PageRun() {
    if (!Start())
      throw std::runtime_error("the host services cannot be found");
  }
  static bool Start() {
    DataDir = DataDirectory(TheCorpus.lines.front());
    ServePages(&TheCorpus.store);
    const bool loaded = LoadHostServices();
    LoadAuthorDictionary(DataDir);
    LoadLabelDictionary(DataDir);
    return loaded;
  }
  ~PageRun() {
    FreeHostServices();
    ReleaseAuthorDictionary();
    ReleaseLabelDictionary();
  }
};

// One parse of each detail page, to learn which author pages it downloads.
void RecordTheAuthorPages() {
  PageRun run;
  const std::string base = CatalogueBaseAddress();
  for (const auto& [size, path] : TheCorpus.pages) {
    std::vector<std::vector<std::string>> downloads(1);
    RecordDownloads(&downloads);
    ClearRecord();
    ParseDetailPage(path, base);
    RecordDownloads(nullptr);
    std::vector<const Page*>& pages = TheCorpus.authorPages[path];
    for (const std::string& address : downloads.front()) {
      const auto found = TheCorpus.store.find(address);
      if (found != TheCorpus.store.end())
        pages.push_back(&found->second);
    }
  }
}

// The bytes of the detail page at path and of the author pages its parse
// downloads, each page on its own.
std::vector<std::string> PageSetBytes(const std::string& path) {
  std::vector<std::string> pages = {ReadFileBytes(path)};
  for (const Page* page : TheCorpus.authorPages[path])
    pages.push_back(page->bytes);
  return pages;
}

std::size_t TotalSize(const std::vector<std::string>& pages) {
  std::size_t total = 0;
  for (const std::string& page : pages)
    total += page.size();
  return total;
}

void PageParse(benchmark::State& state, const std::string& path) {
  const std::size_t bytes = TotalSize(PageSetBytes(path));
  PageRun run(state);
  const std::string base = CatalogueBaseAddress();
  ClearRecord();
  if (!ParseDetailPage(path, base) || Book.Title.empty()) {
    state.SkipWithError("the page gives no record");
    return;
  }
  // The host's writes of the author pages into the scratch file are its
  // own work, not the plug-in's.
  PauseDuringDownloads(&state);
  for (auto _ : state) {
    ClearRecord();
    benchmark::DoNotOptimize(ParseDetailPage(path, base));
  }
  PauseDuringDownloads(nullptr);
  SetPageBytes(state, bytes);
}

void PagePrepare(benchmark::State& state, const std::string& path) {
  const std::size_t bytes = TotalSize(PageSetBytes(path));
  std::vector<std::string> paths = {path};
  for (const Page* page : TheCorpus.authorPages[path])
    paths.push_back(page->path);
  for (auto _ : state)
    for (const std::string& page : paths)
      benchmark::DoNotOptimize(PreparePageText(page));
  SetPageBytes(state, bytes);
}

// Bytes of the UTF-8 sequence that lead starts.
std::size_t SequenceLength(unsigned char lead) {
  return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// The page converted into out, each character iconv cannot convert as "?";
// where the converted bytes end.
char* Convert(iconv_t cd, std::string& bytes, std::string& out) {
  char* in = bytes.data();
  std::size_t inLeft = bytes.size();
  char* to = out.data();
  std::size_t outLeft = out.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  // A character the code page cannot hold becomes "?", as in the plug-in.
  while (inLeft > 0 && iconv(cd, &in, &inLeft, &to, &outLeft) ==
                           static_cast<std::size_t>(-1)) {
    if (errno != EILSEQ)
      break;
    const std::size_t skip =
        std::min(inLeft, SequenceLength(static_cast<unsigned char>(*in)));
    in += skip;
    inLeft -= skip;
    *to++ = '?';
    --outLeft;
  }
  return to;
}

void PageIconv(benchmark::State& state, const std::string& path) {
  std::vector<std::string> pages = PageSetBytes(path);
  std::vector<std::string> outs;
  for (const std::string& page : pages)
    outs.emplace_back(page.size() * 2 + 16, '\0');
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv cannot convert UTF-8 to CP932");
    return;
  }
  for (auto _ : state) {
    for (std::size_t i = 0; i < pages.size(); ++i)
      benchmark::DoNotOptimize(Convert(cd, pages[i], outs[i]));
    benchmark::ClobberMemory();
  }
  iconv_close(cd);
  SetPageBytes(state, TotalSize(pages));
}

void PageCopy(benchmark::State& state, const std::string& path) {
  const std::vector<std::string> pages = PageSetBytes(path);
  std::vector<std::string> outs;
  for (const std::string& page : pages)
    outs.emplace_back(page.size(), '\0');
  for (auto _ : state) {
    for (std::size_t i = 0; i < pages.size(); ++i) {
      std::memcpy(outs[i].data(), pages[i].data(), pages[i].size());
      benchmark::DoNotOptimize(outs[i].data());
    }
    benchmark::ClobberMemory();
  }
  SetPageBytes(state, TotalSize(pages));
}

// --- Runs --------------------------------------------------------------------

const char* const kDictionaries[] = {"AuthDB.dat", "LabelsDB.dat", "PubDB.dat"};

void SetPerCode(benchmark::State& state, int codes) {
  // CPU seconds per code: codes per CPU second, inverted.
  state.counters["per_code"] =
      benchmark::Counter(codes, benchmark::Counter::kIsIterationInvariantRate |
                                    benchmark::Counter::kInvert);
}

std::size_t LargestPage(int codes) {
  std::size_t largest = 0;
  for (int code = 0; code < codes; ++code)
    for (const std::string& address : TheCorpus.downloads[code])
      largest = std::max(largest, TheCorpus.store.at(address).bytes.size());
  return largest;
}

std::size_t LargestDictionary(const std::string& dir) {
  std::size_t largest = 0;
  for (const char* name : kDictionaries)
    largest = std::max(largest, FileSize(dir + name));
  return largest;
}

std::size_t LineCount(const std::string& text) {
  std::size_t lines = 0;
  for (std::size_t pos = 0; (pos = text.find("\r\n", pos)) != std::string::npos;
       pos += 2)
    ++lines;
  return lines;
}

void Run(benchmark::State& state, int codes, int lines) {
  const std::string dir = DataDirectory(lines);
  const std::string out = dir + "result.txt";
  const std::string list = CodeList(codes);
  ServePages(&TheCorpus.store);
  std::size_t peak = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    ResetHeapPeak();
    DownlaodFunc(dir.c_str(), out.c_str(), list.c_str());
    peak = std::max(peak, HeapPeak() - before);
  }
  const std::string result = ReadFileBytes(out);
  if (LineCount(result) != static_cast<std::size_t>(codes)) {
    state.SkipWithError("the run did not give a line for every code");
    return;
  }
  SetPerCode(state, codes);
  // The goal: twice the largest dictionary, the largest page and the
  // result lines.
  const double goal = 2.0 * static_cast<double>(LargestDictionary(dir)) +
                      static_cast<double>(LargestPage(codes)) +
                      static_cast<double>(result.size());
  state.counters["peak_heap"] = static_cast<double>(peak);
  state.counters["heap_goal"] = goal;
  state.counters["heap_ratio"] = static_cast<double>(peak) / goal;
}

// Reads the whole file into the buffer with one read, as the least that
// getting its bytes takes.
std::size_t ReadOnce(const std::string& path, char* buffer,
                     std::size_t capacity) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return 0;
  struct stat info;
  std::size_t got = 0;
  if (fstat(fd, &info) == 0) {
    const std::size_t size =
        std::min(capacity, static_cast<std::size_t>(info.st_size));
    while (got < size) {
      const ssize_t n = read(fd, buffer + got, size - got);
      if (n <= 0)
        break;
      got += static_cast<std::size_t>(n);
    }
  }
  close(fd);
  return got;
}

void Floor(benchmark::State& state, int codes, int lines) {
  const std::string dir = DataDirectory(lines);
  std::vector<std::vector<std::string>> files(codes);
  std::size_t capacity = LargestDictionary(dir);
  for (int code = 0; code < codes; ++code) {
    for (const char* name : kDictionaries)
      files[code].push_back(dir + name);
    for (const std::string& address : TheCorpus.downloads[code]) {
      const Page& page = TheCorpus.store.at(address);
      files[code].push_back(page.path);
      capacity = std::max(capacity, page.bytes.size());
    }
  }
  std::unique_ptr<char[]> buffer(new char[capacity]);
  for (auto _ : state) {
    for (const std::vector<std::string>& code : files)
      for (const std::string& path : code)
        benchmark::DoNotOptimize(ReadOnce(path, buffer.get(), capacity));
    benchmark::ClobberMemory();
  }
  SetPerCode(state, codes);
}

void HostShare(benchmark::State& state, int codes, int lines) {
  const std::string scratch = DataDirectory(lines) + "Temp.html";
  std::vector<const std::string*> pages;
  for (int code = 0; code < codes; ++code)
    for (const std::string& address : TheCorpus.downloads[code])
      pages.push_back(&TheCorpus.store.at(address).bytes);
  for (auto _ : state)
    for (const std::string* page : pages)
      PlacePage(scratch, page);
  SetPerCode(state, codes);
}

// --- Registration ------------------------------------------------------------

void RegisterAll() {
  using Page = void (*)(benchmark::State&, const std::string&);
  const std::pair<const char*, Page> pageKinds[] = {
      {"page_parse", PageParse},
      {"page_prepare", PagePrepare},
      {"page_iconv", PageIconv},
      {"page_copy", PageCopy}};
  for (const auto& [size, path] : TheCorpus.pages)
    for (const auto& [name, function] : pageKinds)
      benchmark::RegisterBenchmark(
          (std::string(name) + "/" + std::to_string(size)).c_str(), function,
          path)
          ->Unit(benchmark::kMicrosecond);

  using RunKind = void (*)(benchmark::State&, int, int);
  const std::pair<const char*, RunKind> runKinds[] = {
      {"run", Run}, {"floor", Floor}, {"host", HostShare}};
  for (int lines : TheCorpus.lines)
    for (int codes : TheCorpus.codes)
      for (const auto& [name, function] : runKinds)
        benchmark::RegisterBenchmark((std::string(name) +
                                      "/codes:" + std::to_string(codes) +
                                      "/lines:" + std::to_string(lines))
                                         .c_str(),
                                     function, codes, lines)
            ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
  std::string corpus = TF_BENCH_CORPUS;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--corpus=", 9) == 0)
      corpus = argv[i] + 9;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  try {
    LoadCorpus(corpus);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tomefinder_bench: %s\n", error.what());
    return 1;
  }
  benchmark::AddCustomContext("corpus", corpus);
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
