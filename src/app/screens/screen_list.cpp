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

ScreenList::ScreenList(ScreenContext& context, const ScreenWorld& w, std::function<void()> endProgram)
    : context_(context), endProgram_(std::move(endProgram)) {
  // One line per screen, with its number.
  Add(GameScreen::Menu, std::make_unique<MenuScreen>(context, *this));
  Add(GameScreen::Game, std::make_unique<GameplayScreen>(context, *this, w.diver, w.groups, w.random, w.highscores));
  Add(GameScreen::Highscore, std::make_unique<HighscoreScreen>(context, *this, w.highscores));
  Add(GameScreen::NewHighscore,
      std::make_unique<NameEntryScreen>(context, *this, w.nameEntry, w.keyboard, w.diver, w.highscores));
  Add(GameScreen::Instructions, std::make_unique<InstructionsScreen>(context, *this, w.animations));
}

ScreenList::~ScreenList() = default;

void ScreenList::Add(GameScreen number, std::unique_ptr<Screen> screen) {
  const auto at = static_cast<std::size_t>(number);
  if (screens_.size() <= at) screens_.resize(at + 1);
  screens_[at] = std::move(screen);
}

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
