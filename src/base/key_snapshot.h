#pragma once

#include <cstdint>

namespace tavi {

// The 256-byte key state by DirectInput scan code (nonzero = down), read once a frame.
struct KeySnapshot {
  std::uint8_t state[256] = {};

  bool Down(std::uint32_t scanCode) const { return state[scanCode & 0xFF] != 0; }
};

}  // namespace tavi
