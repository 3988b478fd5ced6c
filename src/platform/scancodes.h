#pragma once

// DirectInput scan codes (DIK_ values) by physical key position, and their names. The key
// snapshot is indexed by these codes whatever the keyboard layout, so the key labelled Y on a
// German keyboard is DIK_Z (0x2C).

#include <cstdint>
#include <string>

namespace tavi {

// The DirectInput scan code of an SDL scancode (SDL_Scancode as int); 0 for a key without one.
std::uint8_t DikFromSdlScancode(int sdlScancode);

// The scan code of a DirectInput key name without its "DIK_" prefix ("Z", "RETURN", "NUMPAD7");
// upper or lower case; -1 when the name is unknown.
int DikFromName(const std::string& name);

// The name of a scan code without its "DIK_" prefix, or nullptr for a code without a name.
const char* DikName(int dik);

}  // namespace tavi
