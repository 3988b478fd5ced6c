#include "platform/sdl_window_mode.h"

#include "platform/window_fit.h"

namespace tavi {

namespace {

constexpr Uint32 WindowFlags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;

bool DesktopBounds(int display, SDL_Rect& bounds) {
  return display >= 0 && SDL_GetDisplayBounds(display, &bounds) == 0 && bounds.w > 0 && bounds.h > 0;
}

// A window of `size` on `display`: fitted to the display without its panels, in the middle of it.
SDL_Rect WindowPlace(int display, WindowSize size) {
  if (display < 0) display = 0;
  SDL_Rect area;
  if (SDL_GetDisplayUsableBounds(display, &area) != 0 || area.w <= 0 || area.h <= 0) {
    return {static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(display)),
            static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(display)), size.width, size.height};
  }
  const WindowSize fitted = FitWindow(size, {area.w, area.h});
  return {area.x + (area.w - fitted.width) / 2, area.y + (area.h - fitted.height) / 2, fitted.width, fitted.height};
}

}  // namespace

SDL_Window* CreateGameWindow(const char* title, bool fullScreen, WindowSize size) {
  SDL_Rect bounds;
  SDL_Window* window = nullptr;
  if (fullScreen && DesktopBounds(0, bounds)) {
    // Even the windowed geometry covers the desktop, in case SDL recreates the window for its
    // renderer and nobody resizes it afterwards.
    window = SDL_CreateWindow(title, bounds.x, bounds.y, bounds.w, bounds.h,
                              WindowFlags | SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    const SDL_Rect place = WindowPlace(0, size);
    window = SDL_CreateWindow(title, place.x, place.y, place.w, place.h,
                              WindowFlags | (fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
  }
  // Smaller would be remembered and then refused as a setting.
  if (window) SDL_SetWindowMinimumSize(window, MinWindowSize.width, MinWindowSize.height);
  return window;
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
  const SDL_Rect place = WindowPlace(SDL_GetWindowDisplayIndex(window), size);
  SDL_SetWindowSize(window, place.w, place.h);
  SDL_SetWindowPosition(window, place.x, place.y);
  return true;
}

bool SetUpScaling(SDL_Renderer* renderer, Scaling scaling, int frameWidth, int frameHeight) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, scaling == Scaling::Smooth ? "linear" : "nearest");
  return SDL_RenderSetLogicalSize(renderer, frameWidth, frameHeight) == 0 &&
         SDL_RenderSetIntegerScale(renderer, scaling == Scaling::SharpInteger ? SDL_TRUE : SDL_FALSE) == 0;
}

}  // namespace tavi
