#pragma once

// DirectInput scan codes (DIK_ values) by physical key position. The key snapshot is indexed by
// these codes whatever the keyboard layout, so the key labelled Y on a German keyboard is DIK_Z
// (0x2C). Their names are in base/key_names.h.

#include <cstdint>

namespace tavi {

// The DirectInput scan code of an SDL scancode (SDL_Scancode as int); 0 for a key without one.
std::uint8_t DikFromSdlScancode(int sdlScancode);

}  // namespace tavi
