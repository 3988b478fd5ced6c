#include "base/key_bindings.h"

#include <cstring>

namespace tavi {

bool KeyBindings::Remapped() const { return std::memcmp(keys, Defaults, sizeof keys) != 0; }

bool KeyBindings::Clashing() const {
  for (int a = 0; a < Count; ++a) {
    for (int b = a + 1; b < Count; ++b) {
      if (keys[a] == keys[b]) return true;
    }
  }
  return false;
}

void ApplyKeyBindings(const KeyBindings& bindings, std::uint8_t (&state)[256]) {
  if (!bindings.Remapped()) return;  // today's snapshot, byte for byte
  std::uint8_t pressed[256];
  std::memcpy(pressed, state, sizeof pressed);
  // First every key a rebound action touches is released, so swapped keys do not mask each other.
  for (int action = 0; action < KeyBindings::Pause; ++action) {
    if (bindings.keys[action] == KeyBindings::Defaults[action]) continue;
    state[KeyBindings::Defaults[action]] = 0;
    state[bindings.keys[action]] = 0;
  }
  for (int action = 0; action < KeyBindings::Pause; ++action) {
    if (bindings.keys[action] != KeyBindings::Defaults[action] && pressed[bindings.keys[action]] != 0) {
      state[KeyBindings::Defaults[action]] = 0x80;
    }
  }
}

std::uint8_t ApplyKeyBindings(const KeyBindings& bindings, std::uint8_t code) {
  std::uint8_t state[256] = {};
  state[code] = 0x80;
  ApplyKeyBindings(bindings, state);
  for (int i = 1; i < 256; ++i) {
    if (state[i] != 0) return static_cast<std::uint8_t>(i);
  }
  return 0;
}

}  // namespace tavi
