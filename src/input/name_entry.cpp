#include "input/name_entry.h"

#include "input/keyboard.h"

namespace tavi {

void NameEntry::Update() {
  // Only the highest key down counts, so a held arrow key hides the typing keys below it.
  const unsigned char c = keyboard_.CharForKey(keyboard_.HighestPressedKey());
  if (c != LastChar && c != Keyboard::NoChar && EnteredName.size() < MaxNameLength) {
    EnteredName.push_back(static_cast<char>(c));
  }
  LastChar = c;
  // Backspace empties the whole name, on every frame it is held (kept as the game always had it).
  if (keyboard_.Down(Dik::Back)) EnteredName.clear();
}

}  // namespace tavi
