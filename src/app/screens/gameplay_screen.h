#pragma once

#include "app/screens/screen.h"
#include "game/object_group.h"

namespace tavi {

class Diver;
class HighscoreTable;
class Random;

// A game being played: the diver and the objects of the lake, until Esc or the diver's end.
class GameplayScreen : public Screen {
 public:
  GameplayScreen(ScreenContext& context, ScreenList& screens, Diver& diver, const ObjectGroups& groups,
                 Random& random, const HighscoreTable& highscores)
      : Screen(context, screens), diver_(diver), groups_(groups), random_(random), highscores_(highscores) {}

  void Enter() override;
  void Escape() override { EndGame(); }
  void Update() override;
  void Draw() override;
  bool Pausable() const override { return true; }

 private:
  // Empties the lake; a result for the list goes on to the name entry, any other to the menu.
  void EndGame();

  Diver& diver_;
  ObjectGroups groups_;
  Random& random_;
  const HighscoreTable& highscores_;
};

}  // namespace tavi
