#pragma once

// Keys as labelled: a key whose unshifted character in the player's layout is one a name may hold
// goes into the key snapshot under the scan code the game types that character with; any other key
// keeps its physical code. While a name is typed, what a key made with its modifiers decides
// instead, once it is known (typed_keys.h).

#include <cstdint>

namespace tavi {

// The layout's key code for an SDL scancode (SDL_GetKeyFromScancode, or a fixed map in tests).
using KeycodeOfScancode = int (*)(int sdlScancode);

// The scan code the key snapshot gets for a pressed SDL scancode; 0 for a key without one.
std::uint8_t LayoutDik(int sdlScancode, KeycodeOfScancode keycodeOf);

// The same for the layout in use now.
std::uint8_t LayoutDik(int sdlScancode);

}  // namespace tavi
