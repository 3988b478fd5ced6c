#include "input/keyboard.h"

#include <cstring>

#include "base/error_log.h"
#include "platform/platform.h"

namespace tavi {

namespace {

// German layout: "y" sits on the key DirectInput calls Z (0x2C), "z" on Y (0x15).
constexpr Keyboard::KeyChar CharTable[Keyboard::KeyCharCount] = {
    {'a', 0x1E}, {'b', 0x30}, {'c', 0x2E}, {'d', 0x20}, {'e', 0x12}, {'f', 0x21}, {'g', 0x22},
    {'h', 0x23}, {'i', 0x17}, {'j', 0x24}, {'k', 0x25}, {'l', 0x26}, {'m', 0x32}, {'n', 0x31},
    {'o', 0x18}, {'p', 0x19}, {'q', 0x10}, {'r', 0x13}, {'s', 0x1F}, {'t', 0x14}, {'u', 0x16},
    {'v', 0x2F}, {'w', 0x11}, {'x', 0x2D}, {'y', 0x2C}, {'z', 0x15}, {' ', 0x39}, {'1', 0x02},
    {'2', 0x03}, {'3', 0x04}, {'4', 0x05}, {'5', 0x06}, {'6', 0x07}, {'7', 0x08}, {'8', 0x09},
    {'9', 0x0A}, {'0', 0x0B}, {'.', 0x34},
};

}  // namespace

int Keyboard::Init(const KeySource* source, ErrorLog& errorLog) {
  if (!source) {
    errorLog.ShowError("Fehler beim Anlegen des DirectInput8-Objekts");
    return 0;
  }
  open_ = true;
  for (int i = 0; i < KeyCharCount; ++i) KeyCharTable[i] = CharTable[i];
  return 1;
}

void Keyboard::SetKeys(const KeySnapshot& keys) {
  if (!open_) return;
  std::memcpy(KeyState, keys.state, sizeof KeyState);
}

std::uint32_t Keyboard::HighestPressedKey() const {
  std::uint32_t highest = 0;
  for (std::uint32_t code = 1; code < 256; ++code) {
    if (KeyState[code] != 0) highest = code;
  }
  return highest;
}

unsigned char Keyboard::CharForKey(std::uint32_t scanCode) const {
  for (const KeyChar& entry : KeyCharTable) {
    if (entry.scanCode == scanCode) return entry.character;
  }
  return NoChar;
}

void Keyboard::Release() { open_ = false; }

bool ReadKeySnapshot(KeySource& source, KeySnapshot& keys) {
  // Read into a scratch copy so that a failed read can never leave a half-written snapshot.
  KeySnapshot fresh = keys;
  if (!source.ReadKeys(fresh.state)) return false;  // no focus: the last snapshot stays
  keys = fresh;
  return true;
}

}  // namespace tavi
