#include "platform/sdl_window_mode.h"

namespace tavi {

namespace {

constexpr Uint32 WindowFlags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;

bool DesktopBounds(int display, SDL_Rect& bounds) {
  return display >= 0 && SDL_GetDisplayBounds(display, &bounds) == 0 && bounds.w > 0 && bounds.h > 0;
}

}  // namespace

SDL_Window* CreateGameWindow(const char* title, bool fullScreen, WindowSize size) {
  SDL_Rect bounds;
  if (fullScreen && DesktopBounds(0, bounds)) {
    // Even the windowed geometry covers the desktop, in case SDL recreates the window for its
    // renderer and nobody resizes it afterwards.
    return SDL_CreateWindow(title, bounds.x, bounds.y, bounds.w, bounds.h,
                            WindowFlags | SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  return SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.width, size.height,
                          WindowFlags | (fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
}

bool EnterFullScreen(SDL_Window* window) {
  SDL_Rect before, bounds;
  SDL_GetWindowPosition(window, &before.x, &before.y);
  SDL_GetWindowSize(window, &before.w, &before.h);
  if (DesktopBounds(SDL_GetWindowDisplayIndex(window), bounds)) {
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
  }
  if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) {
    return true;
  }
  SDL_SetWindowSize(window, before.w, before.h);  // stays a window, as it was
  SDL_SetWindowPosition(window, before.x, before.y);
  return false;
}

bool LeaveFullScreen(SDL_Window* window, WindowSize size) {
  if (SDL_SetWindowFullscreen(window, 0) != 0) {
    return false;
  }
  SDL_SetWindowSize(window, size.width, size.height);
  const int display = SDL_GetWindowDisplayIndex(window);
  SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display < 0 ? 0 : display),
                        SDL_WINDOWPOS_CENTERED_DISPLAY(display < 0 ? 0 : display));
  return true;
}

bool SetUpScaling(SDL_Renderer* renderer, Scaling scaling, int frameWidth, int frameHeight) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, scaling == Scaling::Smooth ? "linear" : "nearest");
  return SDL_RenderSetLogicalSize(renderer, frameWidth, frameHeight) == 0 &&
         SDL_RenderSetIntegerScale(renderer, scaling == Scaling::SharpInteger ? SDL_TRUE : SDL_FALSE) == 0;
}

}  // namespace tavi
