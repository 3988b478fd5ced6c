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
  // for the window `windowId`, handled like the keyboard's.
  void Handle(const SDL_Event& event, std::uint32_t windowId);
  // Marks the directions and the net button the pads hold now as down in a key snapshot.
  void AddHeldKeys(std::uint8_t (&state)[256]) const;

 private:
  bool ready_ = false;
  std::vector<SDL_GameController*> pads_;
};

}  // namespace tavi
