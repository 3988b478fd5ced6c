// Runs every file of the given files and directories once through a fuzz target: the corpus
// replay of CTest, and the way to reproduce a crash where libFuzzer is not at hand.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    // Absolute, since a target may change the working directory.
    std::error_code error;
    const fs::path path = fs::absolute(argv[i], error);
    if (fs::is_directory(path, error)) {
      for (const auto& entry : fs::directory_iterator(path, error)) files.push_back(entry.path());
    } else if (fs::exists(path, error)) {
      files.push_back(path);
    } else {
      std::fprintf(stderr, "no such file or directory: %s\n", path.c_str());
      return 1;
    }
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "no inputs given: a replay that runs nothing proves nothing\n");
    return 1;
  }
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    // A copy of exactly the input's size, so that reading past its end is caught as it would be
    // under libFuzzer.
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      std::fprintf(stderr, "cannot read %s\n", file.c_str());
      return 1;
    }
    LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
  }
  std::printf("%zu inputs ran\n", files.size());
  return 0;
}
