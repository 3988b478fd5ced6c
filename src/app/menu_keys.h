#pragma once

#include <vector>

#include "platform/platform.h"

namespace tavi {

class ScreenList;

// The menu, highscore and instructions screens without a mouse: arrows and Tab move the selection
// frame between the buttons, Return or Space chooses. The keys become the mouse moves and clicks
// the screens already understand, so a demo records them as such and replays them exactly. Each
// key press counts once, taken from the key events: a press let go within a frame is not lost, a
// key held from the screen before does nothing.
std::vector<WindowEvent> MenuKeyEvents(const WindowEvent& press, const ScreenList& screens);

}  // namespace tavi
