#pragma once

#include <cstdint>

#include "base/key_snapshot.h"
#include "platform/platform.h"

namespace tavi {

class BitmapFont;

// A pause of a game: P or the Pause key, or the window losing the focus. While it lasts the loop
// renders no frame, so every timer of the game stands; the music and effects hold too.
class Pause {
 public:
  // How long the loop sleeps in the event wait while paused; any event wakes it sooner.
  static constexpr std::int64_t WaitMicroseconds = 500000;

  // `keys` is where the loop reads the key snapshot; the word is drawn in `font`. `onFocusLoss`:
  // losing the focus pauses. `releaseHeldKeys`: the keys come from the keyboard (a demo's keys are
  // its own), and those held when a pause began count as released after it.
  Pause(Platform& platform, KeySource& keys, BitmapFont& font, bool onFocusLoss, bool releaseHeldKeys)
      : platform_(platform), keys_(keys), font_(font), onFocusLoss_(onFocusLoss),
        releaseHeldKeys_(releaseHeldKeys) {}

  bool Active() const { return active_; }

  // Takes the loop's own events and the click that resumes; true when the event is used up here,
  // so that neither the game nor a demo recording sees it. An Escape ends the pause and goes on to
  // the game as always. `lastKeys` is the snapshot of the last rendered frame; `pausable`: a game
  // is played on the screen that shows (nothing else pauses).
  bool Handle(const WindowEvent& event, const KeySnapshot& lastKeys, bool pausable);

  // Leaves the keys held when a pause began out of `keys` until each is seen up (none for a demo).
  void ReleaseHeldKeys(KeySnapshot& keys);

  // One sleep in the event wait while paused. The loop shows the frozen frame, with the word drawn
  // into it when the pause began, before each (the window may have been uncovered or restored).
  void Wait();

 private:
  void Begin(const KeySnapshot& lastKeys);
  void End();

  Platform& platform_;
  KeySource& keys_;
  BitmapFont& font_;
  bool onFocusLoss_;
  bool releaseHeldKeys_;
  bool active_ = false;
  KeySnapshot held_;
};

// "Pause" in the game's font, centred on the frame.
void DrawPauseText(BitmapFont& font);

}  // namespace tavi
