#pragma once

// The player's own keys for the diver. The game knows only its own codes, so a bound key is
// turned into the code it stands for while the snapshot is built; demos never see the difference.

#include <cstdint>

#include "base/dik.h"

namespace tavi {

// DirectInput scan codes; each action's default is the key the game itself reads.
struct KeyBindings {
  enum Action { Up, Down, Left, Right, Net, Pause, Count };
  static constexpr std::uint8_t Defaults[Count] = {Dik::Up, Dik::Down, Dik::Left, Dik::Right, Dik::Space, Dik::P};

  std::uint8_t keys[Count] = {Dik::Up, Dik::Down, Dik::Left, Dik::Right, Dik::Space, Dik::P};

  bool Remapped() const;
  // Whether two actions share a key.
  bool Clashing() const;
};

// Rewrites a keyboard snapshot (256 bytes by scan code): a bound key held down sets the code of
// its action, the bound key itself and the default key of a rebound action read as released.
// Pause is an event, not a snapshot key, and is left alone here.
void ApplyKeyBindings(const KeyBindings& bindings, std::uint8_t (&state)[256]);

// The code a key held alone puts into the snapshot with the bindings applied; 0 for none.
std::uint8_t ApplyKeyBindings(const KeyBindings& bindings, std::uint8_t code);

}  // namespace tavi
