#pragma once

#include <cstdint>

namespace tavi {

class ErrorLog;
class KeySource;

// DirectInput scan codes the game reads.
namespace Dik {
constexpr std::uint32_t Escape = 0x01;
constexpr std::uint32_t Back = 0x0E;
constexpr std::uint32_t Return = 0x1C;
constexpr std::uint32_t LShift = 0x2A;
constexpr std::uint32_t Space = 0x39;
constexpr std::uint32_t Up = 0xC8;
constexpr std::uint32_t Left = 0xCB;
constexpr std::uint32_t Right = 0xCD;
constexpr std::uint32_t Down = 0xD0;
}  // namespace Dik

// The keyboard as a polled snapshot of 256 bytes by scan code.
class Keyboard {
 public:
  struct KeyChar {
    unsigned char character;
    std::uint32_t scanCode;
  };
  static constexpr int KeyCharCount = 38;
  static constexpr unsigned char NoChar = 0x40;  // '@': no character

  // Opens the keyboard on `source` and fills the character table; reports through ShowError and
  // returns 0 on failure (a null source), 1 on success.
  int Init(KeySource* source, ErrorLog& errorLog);
  // Refreshes KeyState; when the source cannot be read, KeyState keeps its last contents.
  void Poll();
  // The highest scan code down (after a poll), 0 when none.
  std::uint32_t HighestPressedKey();
  // The typed character of a scan code, or NoChar.
  unsigned char CharForKey(std::uint32_t scanCode) const;
  void Release();

  bool Down(std::uint32_t scanCode) const { return KeyState[scanCode & 0xFF] != 0; }

  std::uint8_t KeyState[256] = {};
  KeyChar KeyCharTable[KeyCharCount] = {};

 private:
  KeySource* source_ = nullptr;
};

}  // namespace tavi
