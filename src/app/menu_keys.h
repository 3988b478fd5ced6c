#pragma once

#include <optional>
#include <vector>

#include "app/game.h"
#include "base/key_snapshot.h"
#include "platform/platform.h"

namespace tavi {

// The menu, highscore and instructions screens without a mouse: arrows and Tab move the selection
// frame between the buttons, Return or Space chooses. The keys become the mouse moves and clicks
// the screens already understand, so a demo records them as such and replays them exactly.
class MenuKeys {
 public:
  // The events for this frame's key snapshot on the game's current screen.
  std::vector<WindowEvent> Translate(const KeySnapshot& keys, const Game& game);

 private:
  std::optional<GameScreen> screen_;  // where the keys were last looked at
  // Seen up on this screen: a key still held from the screen before does nothing.
  bool armed_[256] = {};
};

}  // namespace tavi
