#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/output_file.h"
#include "base/key_snapshot.h"
#include "platform/platform.h"

namespace tavi {

// One directive of a demo file.
struct DemoLine {
  enum class Kind { Move, Click, DoubleClick, Escape, Keys, Quit };
  long long frame = 0;
  Kind kind = Kind::Move;
  int x = 0;
  int y = 0;
  std::vector<std::uint8_t> keys;  // scan codes down from this frame on (Keys)
};

struct Demo {
  std::optional<std::uint32_t> seed;
  std::vector<DemoLine> lines;  // ends with a Quit
};

// Parses demo text; false with "FILE:LINE: what is wrong" for the first malformed line (a NUL
// byte included).
bool ParseDemo(const std::string& text, const std::string& fileName, Demo& demo, std::string& error);
// Reads and parses a demo file: only a regular file of at most MaxDemoBytes (hours of play; a
// larger file or a device such as /dev/zero is refused before it can fill the memory). False with
// "FILE: why" when it cannot be read (a folder, a FIFO, no permission, too large), or as ParseDemo says.
constexpr std::size_t MaxDemoBytes = 16 * 1024 * 1024;
bool LoadDemo(const std::string& fileName, Demo& demo, std::string& error);

// Plays a demo in place of the event pump and the keyboard.
class DemoPlayer : public EventSource, public KeySource {
 public:
  explicit DemoPlayer(Demo demo) : demo_(std::move(demo)) {}
  const std::optional<std::uint32_t>& Seed() const { return demo_.seed; }
  // The loop is about to render `frame`: its events become due, its key changes take effect.
  void BeginFrame(long long frame);
  bool PollEvent(WindowEvent& event) override;
  bool ReadKeys(std::uint8_t (&state)[256]) override;

 private:
  Demo demo_;
  std::size_t next_ = 0;
  long long frame_ = -1;
  std::uint8_t keys_[256] = {};
};

// Writes what is played as a demo: the seed, every window event and every change of the keys.
class DemoRecorder {
 public:
  // The seed line reaches the file at once, so even a run that is killed leaves a playable demo.
  DemoRecorder(const std::string& fileName, std::uint32_t seed);
  ~DemoRecorder() { Close(); }
  DemoRecorder(const DemoRecorder&) = delete;
  DemoRecorder& operator=(const DemoRecorder&) = delete;
  void SetFrame(long long frame) { frame_ = frame; }
  void Event(const WindowEvent& event);
  void Quit();
  // The key snapshot of the frame; a change from the last one is written.
  void Keys(const KeySnapshot& keys);
  // Ends the demo with its quit line; false when anything written was lost (reported already).
  bool Close();

 private:
  OutputFile file_;
  long long frame_ = 0;
  bool quitWritten_ = false;
  std::uint8_t last_[256] = {};
};

}  // namespace tavi
