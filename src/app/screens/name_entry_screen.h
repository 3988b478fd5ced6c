#pragma once

#include <string>

#include "app/screens/screen.h"

namespace tavi {

class Diver;
class HighscoreTable;
class Keyboard;
class NameEntry;

// After a game that reached the list: the score, and the name typed until Return enters both.
class NameEntryScreen : public Screen {
 public:
  NameEntryScreen(ScreenContext& context, ScreenList& screens, NameEntry& nameEntry, const Keyboard& keyboard,
                  const Diver& diver, HighscoreTable& highscores)
      : Screen(context, screens), nameEntry_(nameEntry), keyboard_(keyboard), diver_(diver),
        highscores_(highscores) {}

  void Escape() override;
  void Update() override;
  void Draw() override;
  bool TypesName() const override { return true; }

 private:
  NameEntry& nameEntry_;
  const Keyboard& keyboard_;
  const Diver& diver_;
  HighscoreTable& highscores_;
  std::string shownName_;  // the name as it stood when the frame began
};

}  // namespace tavi
