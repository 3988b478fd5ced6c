#include "app/screens/menu_screen.h"

#include <algorithm>

#include "app/screens/screen_context.h"
#include "app/screens/screen_list.h"

namespace tavi {

void MenuScreen::Enter() { context_.ParkSelectionFrame(); }

void MenuScreen::MouseMove(int x, int y) {
  const auto& buttons = buttons_.buttons;
  // Sideways off the buttons' column the frame stays where it was (kept); above, below and
  // between the buttons it is parked.
  const bool inColumn = std::any_of(buttons.begin(), buttons.end(),
                                    [x](const media::Picture* button) { return Hits(*button, x, button->y); });
  if (inColumn) context_.FrameAt(buttons, x, y);
}

void MenuScreen::Click(int x, int y) {
  if (Hits(media::NewGameButton, x, y)) screens_.Show(GameScreen::Game);  // the frame stays
  if (Hits(media::InstructionsButton, x, y)) screens_.Show(GameScreen::Instructions);
  if (Hits(media::HighscoreButton, x, y)) screens_.Show(GameScreen::Highscore);
  if (Hits(media::EndButton, x, y)) screens_.EndProgram();
}

void MenuScreen::Escape() { screens_.EndProgram(); }

void MenuScreen::Draw() {
  context_.Draw(media::Title);
  for (const media::Picture* button : buttons_.buttons) context_.Draw(*button);
  context_.DrawFrameAndPointer();
}

}  // namespace tavi
