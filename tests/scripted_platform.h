#pragma once

// A player at the keyboard for whole runs of the loop: events and held keys scripted by rendered
// frame, a clock always late enough for the next frame. Frames shown again while the sound is
// paused (the loop's pause) are not counted.

#include <cstdint>
#include <vector>

#include "fake_platform.h"

namespace tavi::test {

class ScriptedPlatform : public FakePlatform {
 public:
  struct Event {
    long long frame;  // delivered before this frame is rendered
    std::size_t waits;  // ... once the loop has waited this often
    WindowEvent event;
  };
  struct Held {
    long long from;  // down in the frames [from, to)
    long long to;
    std::uint8_t key;
  };

  std::vector<Event> script;
  std::vector<Held> held;
  long long frame = 0;

  bool PollEvent(WindowEvent& event) override {
    if (next_ >= script.size() || script[next_].frame > frame || script[next_].waits > waits.size()) return false;
    event = script[next_++].event;
    return true;
  }
  bool ReadKeys(std::uint8_t (&state)[256]) override {
    for (auto& k : state) k = 0;
    for (const Held& h : held) {
      if (frame >= h.from && frame < h.to) state[h.key] = 0x80;
    }
    return true;
  }
  void Present(const Image& image) override {
    FakePlatform::Present(image);
    if (!audio.paused) ++frame;
  }
  std::int64_t Counter() override { return counter += 1000; }

 private:
  std::size_t next_ = 0;
};

}  // namespace tavi::test
