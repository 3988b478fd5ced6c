#include "platform/window_icon.h"

#include <SDL.h>

#include <string>

#include "base/bmp_header.h"
#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/media_manifest.h"
#include "base/translate.h"
#include "platform/platform.h"

namespace tavi {

void SetWindowIconFromMedia(SDL_Window* window) {
  const std::string path = ResolveMediaPath(media::WindowIcon.file);
  std::string bytes;
  std::string error;
  // The icon keeps its alpha, which the game's pictures never have: SDL decodes it.
  SDL_Surface* icon =
      ReadMediaFile(media::WindowIcon.file, MaxBmpFileBytes, bytes, error) && BmpHeaderPlausible(bytes)
          ? SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1)
          : nullptr;
  if (icon == nullptr) {
    WriteToStandardError(FillIn(Translate("SDL-Fenstersymbol: %s kann nicht geladen werden"), {FileNameText(path)}));
    return;
  }
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

}  // namespace tavi
