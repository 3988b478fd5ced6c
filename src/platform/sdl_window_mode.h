#pragma once

#include <SDL.h>

#include "platform/platform.h"

namespace tavi {

// Creates the game's window: resizable, in the given windowed size fitted to the display, or
// covering the desktop.
SDL_Window* CreateGameWindow(const char* title, bool fullScreen, WindowSize size);

// Desktop full screen. The window is first moved and sized to cover the desktop: without a
// window manager nobody acts on the full-screen request, and the window would keep its place and
// size while SDL letterboxes for the whole desktop, cutting the frame off.
bool EnterFullScreen(SDL_Window* window);

// Back to a window of the given size, fitted to the display, in the middle of it.
bool LeaveFullScreen(SDL_Window* window, WindowSize size);

// The renderer's filtering and whole-multiple scaling; SDL letterboxes to the frame's aspect.
// The filter hint applies to textures created after this call.
bool SetUpScaling(SDL_Renderer* renderer, Scaling scaling, int frameWidth, int frameHeight);

}  // namespace tavi
