#pragma once

// A browser's gamepads as keys, with the desktop's mapping: d-pad and left stick are the arrow
// keys, A the net key (Space), B Escape and Start Pause. The browser tells nothing about its pads:
// they are looked at, and each look is compared with the one before.

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/platform.h"

namespace tavi {

// One pad at one look, in the browser's standard mapping.
struct PadLook {
  bool connected = false;
  bool up = false;
  bool down = false;
  bool left = false;
  bool right = false;
  bool a = false;
  bool b = false;
  bool start = false;
  double x = 0;  // left stick, -1 (left) to 1 (right)
  double y = 0;  // left stick, -1 (up) to 1 (down)
};

class PadKeys {
 public:
  // Takes a look at the pads by their places in the browser's list and appends the presses since
  // the last look: a direction or A as a KeyPress (for the keyboard menus), B as EscapeDown, Start
  // as PauseKey. A pad gone from its place releases whatever it held.
  void Look(const std::vector<PadLook>& pads, std::deque<WindowEvent>& presses);
  // Marks the net button and, unless `directions` is false (a name is typed), the directions held
  // at the last look as down in a key snapshot.
  void AddHeldKeys(std::uint8_t (&state)[256], bool directions) const;

 private:
  // One axis of a left stick. It counts only once it has been seen back in the centre, so a stick
  // that rests deflected (worn, or the pad lying on it) neither swims nor blocks typing.
  struct Axis {
    bool counts = false;
    bool rearmed = false;  // back in the centre since its last press
  };
  struct Pad {
    PadLook look;  // nothing held before the first look: the press that shows a pad to the page counts
    Axis axes[2];  // x, y
  };

  static bool Deflected(const Axis& axis, double value, bool negative);

  std::vector<Pad> pads_;
};

}  // namespace tavi
