#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fake_platform.h"

namespace tavi::test {

namespace {
// The games the tests start are German, whatever the locale the tests run in: their frames, logs
// and files are compared with German ones. They open no window or audio device unless a test asks
// for one, and keep their per-user files in the build tree, never in the home of whoever runs them.
const bool TestEnvironment = [] {
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(name);
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const std::string home = TAVI_TEST_HOME;
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  setenv("XDG_STATE_HOME", (home + "/state").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  return setenv("LANG", "C.UTF-8", 1) == 0;
}();
}  // namespace

std::string LittleEndian(std::uint32_t value, int bytes) {
  std::string out(static_cast<std::size_t>(bytes), '\0');
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<char>((std::uint64_t{value} >> (8 * i)) & 0xFF);
  return out;
}

std::string BmpFile(int width, int height, int bits, std::uint32_t compression, const std::string& tables,
                    const std::string& pixels, std::uint32_t coloursUsed) {
  const auto offset = static_cast<std::uint32_t>(54 + tables.size());
  const auto size = static_cast<std::uint32_t>(pixels.size());
  return "BM" + LittleEndian(offset + size, 4) + LittleEndian(0, 4) + LittleEndian(offset, 4) + LittleEndian(40, 4) +
         LittleEndian(width, 4) + LittleEndian(height, 4) + LittleEndian(1, 2) + LittleEndian(bits, 2) +
         LittleEndian(compression, 4) + LittleEndian(size, 4) + LittleEndian(0, 8) + LittleEndian(coloursUsed, 4) +
         LittleEndian(0, 4) + tables + pixels;
}

std::string EncodeBmp(const Image& picture) {
  std::string pixels;
  for (int y = picture.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < picture.Width(); ++x) pixels += LittleEndian(picture.At(x, y), 4);
  }
  return BmpFile(picture.Width(), picture.Height(), 32, 0, "", pixels);
}

TempDir::TempDir() {
  char pattern[] = "/tmp/tavi-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  path_ = made ? made : "/tmp";
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd)) previous_ = cwd;
  if (chdir(path_.c_str()) != 0) path_.clear();
}

TempDir::~TempDir() {
  if (!previous_.empty() && chdir(previous_.c_str()) != 0) return;
  std::error_code ec;
  if (!path_.empty() && path_ != "/tmp") std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace tavi::test
