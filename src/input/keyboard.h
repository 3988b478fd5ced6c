#pragma once

#include <cstdint>

#include "base/dik.h"
#include "base/key_snapshot.h"
#include "base/name_keys.h"

namespace tavi {

class ErrorLog;
class KeySource;

// The keyboard as the snapshot of 256 bytes by scan code that the loop hands down each frame.
class Keyboard {
 public:
  using KeyChar = NameKey;
  static constexpr int KeyCharCount = NameKeyCount;
  static constexpr unsigned char NoChar = 0x40;  // '@': no character

  // Opens the keyboard when there is a `source` for the loop to read, and fills the character
  // table; reports through ShowError and returns 0 on failure (a null source), 1 on success.
  int Init(const KeySource* source, ErrorLog& errorLog);
  // Takes this frame's snapshot into KeyState; ignored while the keyboard is not open.
  void SetKeys(const KeySnapshot& keys);
  // The highest scan code down, 0 when none.
  std::uint32_t HighestPressedKey() const;
  // The typed character of a scan code, or NoChar.
  unsigned char CharForKey(std::uint32_t scanCode) const;
  // Closes the keyboard: KeyState keeps its last snapshot.
  void Release();

  bool Down(std::uint32_t scanCode) const { return KeyState[scanCode & 0xFF] != 0; }

  std::uint8_t KeyState[256] = {};
  KeyChar KeyCharTable[KeyCharCount] = {};

 private:
  bool open_ = false;
};

// Reads a fresh snapshot from `source` into `keys` (the loop, once a frame). False when the source
// cannot be read now; `keys` then keeps its last contents.
bool ReadKeySnapshot(KeySource& source, KeySnapshot& keys);

}  // namespace tavi
