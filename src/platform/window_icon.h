#pragma once

struct SDL_Window;

namespace tavi {

// Gives the window the game's icon (the manifest's window icon, made from the desktop icon's drawing). A
// missing or broken file leaves SDL's default icon and a line on standard error.
void SetWindowIconFromMedia(SDL_Window* window);

}  // namespace tavi
