#include "platform/layout_keys.h"

#include <SDL.h>

#include "base/name_keys.h"
#include "platform/scancodes.h"

namespace tavi {

std::uint8_t LayoutDik(int sdlScancode, KeycodeOfScancode keycodeOf) {
  const std::uint8_t physical = DikFromSdlScancode(sdlScancode);
  if (physical == 0) {
    return 0;  // keys the game has never known stay unknown whatever they type
  }
  // Letter keys come as lower-case characters; keypad and other keys have codes of their own.
  const std::uint32_t typed = ScanCodeForNameChar(keycodeOf(sdlScancode));
  return typed != 0 ? static_cast<std::uint8_t>(typed) : physical;
}

std::uint8_t LayoutDik(int sdlScancode) {
  return LayoutDik(sdlScancode, [](int scancode) {
    return static_cast<int>(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode)));
  });
}

}  // namespace tavi
