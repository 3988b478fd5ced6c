#include "app/screens/screen_list.h"

#include <utility>

#include "app/backdrop.h"
#include "app/screens/gameplay_screen.h"
#include "app/screens/highscore_screen.h"
#include "app/screens/instructions_screen.h"
#include "app/screens/menu_screen.h"
#include "app/screens/name_entry_screen.h"
#include "app/screens/screen_context.h"
#include "graphics/display.h"

namespace tavi {

const ScreenButtons& Screen::Buttons() const {
  static const ScreenButtons none;
  return none;
}

ScreenList::ScreenList(ScreenContext& context, const ScreenWorld& w, std::function<void()> endProgram)
    : context_(context), endProgram_(std::move(endProgram)) {
  auto at = [this](GameScreen screen) -> std::unique_ptr<Screen>& {
    return screens_[static_cast<std::size_t>(screen)];
  };
  // The screens, one line each.
  at(GameScreen::Menu) = std::make_unique<MenuScreen>(context, *this);
  at(GameScreen::Game) = std::make_unique<GameplayScreen>(context, *this, w.diver, w.groups, w.random, w.highscores);
  at(GameScreen::Highscore) = std::make_unique<HighscoreScreen>(context, *this, w.highscores);
  at(GameScreen::NewHighscore) =
      std::make_unique<NameEntryScreen>(context, *this, w.nameEntry, w.keyboard, w.diver, w.highscores);
  at(GameScreen::Instructions) = std::make_unique<InstructionsScreen>(context, *this, w.animations);
}

ScreenList::~ScreenList() = default;

void ScreenList::Show(GameScreen screen) {
  current_ = screen;
  Shown().Enter();
}

void ScreenList::MouseMove(int x, int y) {
  context_.MovePointer(x, y);
  Shown().MouseMove(x, y);
}

// A click acts on the screen it was made on only: one click never acts twice.
void ScreenList::Click(int x, int y) { Shown().Click(x + ClickOffset, y + ClickOffset); }

void ScreenList::Escape() { Shown().Escape(); }

void ScreenList::Frame() {
  Display& display = context_.display;
  display.ClearBackBuffer();
  context_.backdrop.DrawBackgroundBand(display);
  context_.backdrop.DrawSandStrip(display);
  Screen& shown = Shown();
  shown.Update();
  shown.Draw();
}

}  // namespace tavi
