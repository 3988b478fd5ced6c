#pragma once

// Game controllers as keys: d-pad and left stick are the arrow keys, A the net key (Space), B
// Escape and Start Pause. Any number of pads, plugged in and out at any time, all merged.

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace tavi {

class Gamepads {
 public:
  // Starts SDL's controller support on its own; without it there are simply no pads.
  Gamepads();
  ~Gamepads();
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  // Opens and closes pads as they come and go; B and Start come back as synthetic key events
  // for the window `windowId`, handled like the keyboard's. Returns the snapshot code of a
  // direction or the net button just pressed (for the keyboard menus), 0 for anything else.
  std::uint8_t Handle(const SDL_Event& event, std::uint32_t windowId);
  // Marks the net button and, unless `directions` is false (a name is typed), the directions the
  // pads hold now as down in a key snapshot.
  void AddHeldKeys(std::uint8_t (&state)[256], bool directions);

 private:
  // One axis of a left stick. It counts only once it has been seen back in the centre, so a stick
  // that rests deflected (worn, or the pad lying on it) neither swims nor blocks typing.
  struct Axis {
    bool counts = false;
    bool rearmed = false;  // back in the centre since its last press
  };
  struct Pad {
    SDL_GameController* controller;
    Axis axes[2];  // x, y
  };

  // Notes where an axis is now; the direction code when that is a new press.
  static std::uint8_t Observe(Axis& axis, int axisIndex, int value);

  bool ready_ = false;
  std::vector<Pad> pads_;
};

}  // namespace tavi
