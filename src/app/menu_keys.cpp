#include "app/menu_keys.h"

#include <cstdint>
#include <cstring>

#include "base/dik.h"
#include "base/media_manifest.h"

namespace tavi {

namespace {

struct ScreenButtons {
  std::vector<const media::Picture*> buttons;  // in the order the arrows step through them
  int preferred = 0;  // chosen first when the frame is on no button
};

ScreenButtons ButtonsOf(GameScreen screen) {
  switch (screen) {
    case GameScreen::Menu:
      return {{&media::NewGameButton, &media::InstructionsButton, &media::HighscoreButton, &media::EndButton}, 0};
    case GameScreen::Highscore:
      return {{&media::ClearButton, &media::BackButton}, 1};  // not the one that empties the list
    case GameScreen::Instructions:
      return {{&media::BackButton}, 0};
    case GameScreen::Game:
    case GameScreen::NewHighscore:
      break;
  }
  return {};
}

// The button under the middle of the selection frame; -1 when it is parked or between buttons.
int Selected(const ScreenButtons& screen, const Game& game) {
  const int x = game.selectionFrame.x + media::SelectionFrame.width / 2;
  const int y = game.selectionFrame.y + media::SelectionFrame.height / 2;
  for (std::size_t i = 0; i < screen.buttons.size(); ++i) {
    const media::Picture& b = *screen.buttons[i];
    if (x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height) return static_cast<int>(i);
  }
  return -1;
}

// A pointer position on the button: both its corner (what a move tests) and the point 16 pixels
// further on (what a click tests) lie inside.
WindowEvent At(WindowEventType type, const media::Picture& button) {
  return {type, button.x + button.width / 2 - 8, button.y + button.height / 2 - 8};
}

}  // namespace

std::vector<WindowEvent> MenuKeys::Translate(const KeySnapshot& keys, const Game& game) {
  const GameScreen screen = game.CurrentScreen();
  if (screen_ != screen) {
    screen_ = screen;
    std::memset(armed_, 0, sizeof armed_);
  }
  // A press counts once, and only after the key was seen up here.
  auto pressed = [&](std::uint32_t key) {
    const bool down = keys.Down(key);
    const bool counts = down && armed_[key];
    armed_[key] = !down;
    return counts;
  };
  // Every key is looked at each frame (no short cut), so that each one's arming stays current.
  const int next = pressed(Dik::Down) + pressed(Dik::Right);
  const int previous = pressed(Dik::Up) + pressed(Dik::Left);
  const bool tab = pressed(Dik::Tab);
  const bool choose = pressed(Dik::Return) + pressed(Dik::NumpadEnter) + pressed(Dik::Space) > 0;

  const ScreenButtons buttons = ButtonsOf(screen);
  const int count = static_cast<int>(buttons.buttons.size());
  std::vector<WindowEvent> events;
  if (count == 0) return events;
  const bool shift = keys.Down(Dik::LShift) || keys.Down(Dik::RShift);
  int step = (next > 0 ? 1 : 0) - (previous > 0 ? 1 : 0);
  if (tab) step += shift ? -1 : 1;

  const int before = Selected(buttons, game);
  int selected = before;
  if (selected < 0 && (step != 0 || choose)) {
    selected = buttons.preferred;  // the first step or press only shows where the frame is
  } else if (selected >= 0) {
    selected = ((selected + step) % count + count) % count;
    if (choose) {
      const media::Picture& button = *buttons.buttons[static_cast<std::size_t>(selected)];
      events.push_back(At(WindowEventType::MouseMove, button));
      events.push_back(At(WindowEventType::LeftButtonDown, button));
      return events;
    }
  }
  if (selected != before) {
    events.push_back(At(WindowEventType::MouseMove, *buttons.buttons[static_cast<std::size_t>(selected)]));
  }
  return events;
}

}  // namespace tavi
