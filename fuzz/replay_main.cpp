// The main of a fuzz target built without libFuzzer: every file named on
// the command line, and every file in a directory named there, is run
// through the target once, in name order. So the targets build with any
// compiler and their saved corpus runs as an ordinary test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size);

namespace {

std::vector<std::filesystem::path> InputFiles(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg = argv[i];
    if (!std::filesystem::is_directory(arg)) {
      files.push_back(arg);
      continue;
    }
    std::vector<std::filesystem::path> inDir;
    for (const auto& entry : std::filesystem::directory_iterator(arg))
      if (entry.is_regular_file())
        inDir.push_back(entry.path());
    std::sort(inDir.begin(), inDir.end());
    files.insert(files.end(), inDir.begin(), inDir.end());
  }
  return files;
}

} // namespace

int main(int argc, char** argv) {
  const std::vector<std::filesystem::path> files = InputFiles(argc, argv);
  if (files.empty()) {
    std::fprintf(stderr, "usage: %s FILE|DIR...\n", argv[0]);
    return 2;
  }
  for (const std::filesystem::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", file.c_str());
      return 1;
    }
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           bytes.size());
  }
  std::printf("%zu inputs ran\n", files.size());
  return 0;
}
