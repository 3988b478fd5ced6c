#pragma once

#include <string>

namespace tavi {

// Starts SDL's video. Without a display SDL falls back to its off-screen driver, and a game that
// nobody sees would run on until killed: a driver without a screen (offscreen, dummy, evdev) is
// taken only when SDL_VIDEODRIVER names it, as tests and recordings on machines without a display
// do. False when no display could be opened; `problem` then says why, in the player's language
// (Windows-1252).
bool StartVideo(std::string& problem);

// SDL's drivers that show nothing: offscreen, dummy, evdev (any case; false for null).
bool DriverWithoutScreen(const char* driver);

// Why SDL could not create the window (its last error), for the error log.
std::string DescribeWindowFailure();

}  // namespace tavi
