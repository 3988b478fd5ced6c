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

std::string EncodeBmp(const Image& picture) {
  std::string bytes;
  const auto put32 = [&](std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((v >> shift) & 0xFF);
  };
  const auto pixelBytes = static_cast<std::uint32_t>(picture.Pixels().size() * 4);
  bytes = "BM";
  put32(54 + pixelBytes);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<std::uint32_t>(picture.Width()));
  put32(static_cast<std::uint32_t>(picture.Height()));
  put32(1 | (32 << 16));  // planes, bits
  for (int i = 0; i < 6; ++i) put32(0);
  for (int y = picture.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < picture.Width(); ++x) put32(picture.At(x, y));
  }
  return bytes;
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
