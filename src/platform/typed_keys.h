#pragma once

// Names as typed, modifiers included: on the name-entry screen a key goes into the key snapshot
// under the code that types the character it made in the player's layout (Shift+T types "t",
// Shift+4 on AZERTY types "4"), and Shift, AltGr and Caps Lock, which only helped make that
// character, stay out of the snapshot. The game's rule is unchanged: the highest key down types.

#include <cstdint>
#include <string>

namespace tavi {

class TypedKeys {
 public:
  // The key of physical code `physical` went down and made `text` (UTF-8, as the system typed it).
  void Typed(std::uint8_t physical, const std::string& text);
  // The key went up: what it made is forgotten.
  void Released(std::uint8_t physical) { made_[physical] = Unknown; }
  void Clear();

  // The snapshot code of a held key while a name is typed; `usual` is its code otherwise. 0: the
  // key stays out (a modifier, or a key whose usual code would type something else than it made).
  std::uint8_t Code(std::uint8_t physical, std::uint8_t usual) const;

 private:
  static constexpr std::uint8_t Unknown = 0;        // made nothing yet: the usual code
  static constexpr std::uint8_t NotANameChar = 0xFF;  // made a character a name cannot hold

  std::uint8_t made_[256] = {};  // by physical code: the code of what the key made
};

}  // namespace tavi
