#include "input/keyboard.h"

#include <cstring>

#include "base/error_log.h"
#include "base/name_keys.h"
#include "base/translate.h"
#include "platform/platform.h"

namespace tavi {

int Keyboard::Init(const KeySource* source, ErrorLog& errorLog) {
  if (!source) {
    errorLog.ShowError(Translate("Fehler beim Anlegen des DirectInput8-Objekts"));
    return 0;
  }
  open_ = true;
  for (int i = 0; i < KeyCharCount; ++i) KeyCharTable[i] = NameKeys[i];
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
