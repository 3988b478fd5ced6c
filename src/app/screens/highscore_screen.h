#pragma once

#include "app/screens/screen.h"

namespace tavi {

class HighscoreTable;

// The list of the ten best under its heading, with the buttons that clear it and go back.
class HighscoreScreen : public Screen {
 public:
  HighscoreScreen(ScreenContext& context, ScreenList& screens, HighscoreTable& highscores)
      : Screen(context, screens), highscores_(highscores) {}

  void Enter() override;
  void MouseMove(int x, int y) override;
  void Click(int x, int y) override;
  void Escape() override;
  void Draw() override;
  const ScreenButtons& Buttons() const override { return buttons_; }

 private:
  HighscoreTable& highscores_;
  // The keys choose going back first, never the button that empties the list.
  const ScreenButtons buttons_{{&media::ClearButton, &media::BackButton}, 1};
};

}  // namespace tavi
