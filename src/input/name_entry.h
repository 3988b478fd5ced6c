#pragma once

#include <string>

namespace tavi {

class Keyboard;

// Typing of a name on the new-highscore screen: one character per change of the highest key.
class NameEntry {
 public:
  static constexpr std::size_t MaxNameLength = 12;

  explicit NameEntry(Keyboard& keyboard) : keyboard_(keyboard) {}
  void Update();

  std::string EnteredName;     // Windows-1252, at most 12 characters
  unsigned char LastChar = 0;  // the character seen by the previous Update, '@' for none

 private:
  Keyboard& keyboard_;
};

}  // namespace tavi
