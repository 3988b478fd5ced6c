#pragma once

#include <cstdint>

#include "app/pacing.h"

namespace tavi {

class BitmapFont;
class Display;
class Platform;

// F9: all sound off, music and effects, and on again. Each change shows a mark in the game's font
// at the top right for two seconds, over the presented frame only: the back buffer keeps the
// game's own frame for screenshots, and a demo never shows the mark.
class Mute {
 public:
  static constexpr std::int64_t MarkMilliseconds = 2000;

  // The mark is drawn in `font` over the display's back buffer. `showMark`: live play, not a demo.
  Mute(Platform& platform, Display& display, BitmapFont& font, bool showMark);

  void Toggle();
  // Shows the back buffer, with the mark over it while it is due.
  void Present();

 private:
  Platform& platform_;
  Display& display_;
  BitmapFont& font_;
  Clock clock_;
  bool showMark_;
  bool marked_ = false;     // a change was made and its mark not yet over
  std::int64_t markEnd_ = 0;  // on the clock
};

}  // namespace tavi
