#pragma once

// A platform for unit tests: pictures come from memory as BMP files, the clock is set by the
// test, messages and presented frames are recorded.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/cp1252.h"
#include "base/file_read.h"
#include "platform/platform.h"

namespace tavi::test {

// `value` as `bytes` bytes, least significant first.
std::string LittleEndian(std::uint32_t value, int bytes);
// A BMP file with a 40-byte header: `tables` (masks or palette) and `pixels` as given.
std::string BmpFile(int width, int height, int bits, std::uint32_t compression, const std::string& tables,
                    const std::string& pixels, std::uint32_t coloursUsed = 0);
// A picture as an uncompressed 32-bit BMP file, rows bottom-up.
std::string EncodeBmp(const Image& picture);

class FakeAudio : public AudioDevice {
 public:
  bool Open(std::string&) override { return true; }
  int LoadEffect(const std::string& name) override {
    if (failingNames.count(name)) return -1;
    loaded.push_back(name);
    return static_cast<int>(loaded.size()) - 1;
  }
  bool LoadMusic(const std::string&, std::string&) override { return true; }
  void PlayEffect(int handle) override { played.push_back(handle); }
  void PlayMusicForever() override {}
  void SetMusicVolume(int) override {}
  void SetEffectVolume(int) override {}
  void SetMuted(bool mute) override { muted = mute; }
  bool Muted() const override { return muted; }
  void Pause() override { paused = true; }
  void Resume() override { paused = false; }
  void Close() override {}

  std::map<std::string, bool> failingNames;
  std::vector<std::string> loaded;
  std::vector<int> played;
  bool paused = false;
  bool muted = false;
};

class FakePlatform : public Platform {
 public:
  std::int64_t CounterFrequency() override { return frequency; }
  std::int64_t Counter() override { return counter; }
  std::uint32_t TickCount() override { return static_cast<std::uint32_t>(counter); }
  void WaitEvent(std::int64_t timeoutMicroseconds) override { waits.push_back(timeoutMicroseconds); }
  bool CreateMainWindow() override { return windowCreates; }
  void DestroyMainWindow() override { windowDestroyed = true; }
  void HideSystemCursor() override {}
  DisplayInit InitDisplay() override { return DisplayInit::Ok; }
  void ReleaseDisplay() override { ++displayReleases; }
  void Present(const Image&) override { ++presents; }
  // The system's DejaVu Sans, or the font file the test names.
  bool ReadTextFont(std::size_t maxBytes, std::string& bytes, std::string& error) override {
    ++fontReads;
    return ReadRegularFile(fontFile, maxBytes, bytes, error);
  }
  bool ReadMedia(const std::string& name, std::size_t, std::string& bytes, std::string& error) override {
    auto it = pictures.find(name);
    if (it != pictures.end()) bytes = EncodeBmp(it->second);
    error = name + ": missing";
    return it != pictures.end();
  }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    messages.push_back({caption, text});
  }
  bool PollEvent(WindowEvent& event) override {
    if (events.empty()) return false;
    event = events.front();
    events.pop_front();
    return true;
  }
  bool ReadKeys(std::uint8_t (&state)[256]) override {
    for (int i = 0; i < 256; ++i) state[i] = keys[i];
    return true;
  }
  // Media files on disk are looked for in the working directory only.
  bool MediaExists(const std::string& name) const override {
    std::string path = Cp1252ToUtf8(name);
    for (char& c : path) {
      if (c == '\\') c = '/';
    }
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
  }
  AudioDevice& Audio() override { return audio; }
  void SetTyping(bool on) override { typing = on; }
  void AddPadKeys(std::uint8_t (&state)[256]) override { for (const std::uint8_t code : padKeys) state[code] = 0x80; }

  std::int64_t frequency = 600;
  std::int64_t counter = 0;
  bool windowCreates = true;
  bool windowDestroyed = false;
  int displayReleases = 0;
  int presents = 0;
  std::uint8_t keys[256] = {};
  std::deque<WindowEvent> events;
  std::vector<std::uint8_t> padKeys;
  bool typing = false;
  std::map<std::string, Image> pictures;
  std::string fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  int fontReads = 0;
  std::vector<std::pair<std::string, std::string>> messages;
  std::vector<std::int64_t> waits;
  FakeAudio audio;
};

// A fresh empty directory under the system's temp directory, removed with the object; the
// working directory is moved there while it lives.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::string previous_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace tavi::test
