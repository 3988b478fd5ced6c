#include "app/bound_input.h"

namespace tavi {

void BoundInput::SetTyping(bool typing) {
  typing_ = typing;
  platform_.SetTyping(typing);
}

bool BoundInput::PollEvent(WindowEvent& event) {
  while (platform_.PollEvent(event)) {
    if (Bind(event)) return true;
  }
  return false;
}

bool BoundInput::Bind(WindowEvent& event) const {
  if (typing_ || event.fromPad) return true;
  const bool isPress = event.type == WindowEventType::KeyPress;
  if (!isPress && event.type != WindowEventType::PauseLetter) return true;
  const std::uint8_t pause = bindings_.keys[KeyBindings::Pause];
  if (pause != KeyBindings::Defaults[KeyBindings::Pause]) {
    // Another key pauses: it is the pause letter, and P is a key like any other.
    if (isPress && event.key == pause) {
      event.type = WindowEventType::PauseLetter;
      return true;
    }
    event.type = WindowEventType::KeyPress;
  } else if (!isPress) {
    return true;
  }
  event.key = ApplyKeyBindings(bindings_, event.key);
  return event.key != 0;
}

bool BoundInput::ReadKeys(std::uint8_t (&state)[256]) {
  if (!platform_.ReadKeys(state)) return false;
  if (!typing_) ApplyKeyBindings(bindings_, state);
  platform_.AddPadKeys(state);  // after the bindings: a pad's keys are the game's codes
  return true;
}

}  // namespace tavi
