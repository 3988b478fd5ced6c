#pragma once

#include "app/screens/screen.h"

namespace tavi {

// The main menu: a new game, the instructions, the highscore list and the end of the program.
class MenuScreen : public Screen {
 public:
  using Screen::Screen;

  void Enter() override;
  void MouseMove(int x, int y) override;
  void Click(int x, int y) override;
  void Escape() override;
  void Draw() override;
  const ScreenButtons& Buttons() const override { return buttons_; }

 private:
  // Top to bottom, in one column.
  const ScreenButtons buttons_{{&media::NewGameButton, &media::InstructionsButton, &media::HighscoreButton,
                                &media::EndButton}};
};

}  // namespace tavi
