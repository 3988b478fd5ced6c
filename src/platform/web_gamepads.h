#pragma once

// The page's gamepads (the Gamepad API), plugged in and out at any time: looked at while the
// program takes its events, read into each frame's key snapshot. A demo run ignores them.

#include <cstdint>
#include <deque>

#include "platform/pad_keys.h"
#include "platform/platform.h"

namespace tavi {

class WebGamepads {
 public:
  // Looks at the pads, at most once a millisecond, and appends their presses to `events`.
  void Look(std::deque<WindowEvent>& events);
  void AddHeldKeys(std::uint8_t (&state)[256], bool directions) const { keys_.AddHeldKeys(state, directions); }

 private:
  PadKeys keys_;
  double lastLook_ = -1;
};

}  // namespace tavi
