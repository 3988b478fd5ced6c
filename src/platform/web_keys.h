#pragma once

#include <cstdint>

namespace tavi {

// The DirectInput scan code of a browser key by its physical KeyboardEvent.code ("KeyA",
// "ArrowLeft"); 0 for a key DirectInput has no code for.
std::uint8_t DikFromKeyCode(const char* code);

}  // namespace tavi
