#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/screens/screen.h"
#include "game/object_group.h"

namespace tavi {

class Diver;
class HighscoreTable;
class Keyboard;
class NameEntry;
class Random;
class ScreenContext;
struct InstructionAnimations;

// The screens by number: a trace line's `screen`.
enum class GameScreen : int { Menu = 0, Game = 1, Highscore = 2, NewHighscore = 3, Instructions = 4 };

// What the screens work on besides what they share: the game being played, the list of the ten
// best, the name being typed and the instructions' running objects.
struct ScreenWorld {
  Diver& diver;
  ObjectGroups groups;
  Random& random;
  HighscoreTable& highscores;
  NameEntry& nameEntry;
  const Keyboard& keyboard;
  InstructionAnimations& animations;
};

// The screens of the game and the one that shows: the window messages and each frame go to it.
// The menu shows first.
class ScreenList {
 public:
  // `endProgram` closes the window (the menu's end button and Esc).
  ScreenList(ScreenContext& context, const ScreenWorld& world, std::function<void()> endProgram);
  ~ScreenList();

  // Changes to `screen`, which is entered.
  void Show(GameScreen screen);
  GameScreen CurrentScreen() const { return current_; }
  const Screen& Current() const { return *screens_[static_cast<std::size_t>(current_)]; }
  const ScreenContext& Context() const { return context_; }

  // Window messages: a mouse move or a left-button press at the pointer position (x, y), and Esc.
  void MouseMove(int x, int y);
  void Click(int x, int y);
  void Escape();
  // One frame: the backdrop, then the current screen's update and drawing.
  void Frame();
  void EndProgram() { endProgram_(); }

 private:
  void Add(GameScreen number, std::unique_ptr<Screen> screen);
  Screen& Shown() { return *screens_[static_cast<std::size_t>(current_)]; }

  ScreenContext& context_;
  std::function<void()> endProgram_;
  std::vector<std::unique_ptr<Screen>> screens_;  // by number
  GameScreen current_ = GameScreen::Menu;
};

}  // namespace tavi
