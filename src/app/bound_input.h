#pragma once

#include <cstdint>

#include "base/key_bindings.h"
#include "platform/platform.h"

namespace tavi {

// The player's events and keys as the game reads them: the platform's raw keys with the player's
// bindings applied (base/key_bindings.h), once, here. While a name is typed the bindings stand
// aside, and a pad's presses and held keys are the game's own codes already.
class BoundInput : public EventSource, public KeySource {
 public:
  BoundInput(Platform& platform, const KeyBindings& bindings) : platform_(platform), bindings_(bindings) {}

  // The player's own keys from now on.
  void SetBindings(const KeyBindings& bindings) { bindings_ = bindings; }
  // Whether a name is typed now; the platform hears it too.
  void SetTyping(bool typing);

  // The platform's next event; a key press as the code it stands for, the pause key as a pause
  // letter. Presses of keys bound to nothing are dropped.
  bool PollEvent(WindowEvent& event) override;
  bool ReadKeys(std::uint8_t (&state)[256]) override;

 private:
  // False for an event that stands for nothing once the bindings are applied.
  bool Bind(WindowEvent& event) const;

  Platform& platform_;
  KeyBindings bindings_;
  bool typing_ = false;
};

}  // namespace tavi
