#pragma once

// The characters a name may hold and the DirectInput scan code the game types each one with. The
// letter rows sit on the German layout ("y" on DIK_Z, "z" on DIK_Y); the platform turns the
// player's own layout into these codes, so the name reads as typed on any keyboard.

#include <cstdint>

namespace tavi {

struct NameKey {
  unsigned char character;
  std::uint32_t scanCode;
};

constexpr int NameKeyCount = 38;

// In look-up order; no scan code occurs twice.
constexpr NameKey NameKeys[NameKeyCount] = {
    {'a', 0x1E}, {'b', 0x30}, {'c', 0x2E}, {'d', 0x20}, {'e', 0x12}, {'f', 0x21}, {'g', 0x22},
    {'h', 0x23}, {'i', 0x17}, {'j', 0x24}, {'k', 0x25}, {'l', 0x26}, {'m', 0x32}, {'n', 0x31},
    {'o', 0x18}, {'p', 0x19}, {'q', 0x10}, {'r', 0x13}, {'s', 0x1F}, {'t', 0x14}, {'u', 0x16},
    {'v', 0x2F}, {'w', 0x11}, {'x', 0x2D}, {'y', 0x2C}, {'z', 0x15}, {' ', 0x39}, {'1', 0x02},
    {'2', 0x03}, {'3', 0x04}, {'4', 0x05}, {'5', 0x06}, {'6', 0x07}, {'7', 0x08}, {'8', 0x09},
    {'9', 0x0A}, {'0', 0x0B}, {'.', 0x34},
};

// The scan code that types `character`, 0 when a name cannot hold it.
constexpr std::uint32_t ScanCodeForNameChar(int character) {
  for (const NameKey& key : NameKeys) {
    if (key.character == character) return key.scanCode;
  }
  return 0;
}

}  // namespace tavi
