#pragma once

#include "platform/platform.h"

namespace tavi {

// The size a window of `wanted` opens at in an area of `room` (a display without its panels): as
// wanted when it fits; else shrunk with its aspect kept into nine tenths of the room, leaving space
// for the window manager's frame, which is not known before the window is shown.
WindowSize FitWindow(WindowSize wanted, WindowSize room);

}  // namespace tavi
