#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/backdrop.h"
#include "app/file_paths.h"
#include "base/error_log.h"
#include "game/diver.h"
#include "game/object_group.h"
#include "game/random.h"
#include "graphics/animation.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "graphics/surface.h"
#include "highscore/highscore_table.h"
#include "input/keyboard.h"
#include "input/name_entry.h"
#include "sound/sound_system.h"

namespace tavi {

class Platform;
class KeySource;

enum class GameScreen : int { Menu = 0, Game = 1, Highscore = 2, NewHighscore = 3, Instructions = 4 };

// Everything the program owns, built once at start-up. Tests build a fresh one each.
class Game {
 public:
  // `keys` is where the loop reads each frame's key snapshot (the platform, or a demo); the
  // keyboard opens only when there is one. `files` says where the list and the error log live.
  Game(Platform& platform, KeySource& keys, const FilePaths& files = {});

  // Start-up after the window exists: display, keyboard, media, diver, groups, highscores.
  void Startup(std::uint32_t seed);

  // One rendered frame with the frame's key snapshot: clear, backdrop, the current screen.
  // Presenting is the caller's.
  void RenderFrame(const KeySnapshot& keys);

  // Window messages.
  void OnMouseMove(int x, int y);
  void OnLeftButtonDown(int x, int y);
  void OnEscape();
  // The window is destroyed (Esc or "Ende" in the menu, or closed): release and end the loop.
  void OnDestroy();

  void HandleMouseMove(int x, int y);
  void HandleMouseClick(int x, int y);
  void EndGame();

  bool QuitRequested() const { return quit_; }
  GameScreen CurrentScreen() const { return currentScreen; }

  // The trace line of the frame just rendered (without the frame number).
  std::string TraceState() const;

  Platform& platform;
  ErrorLog errorLog;
  Display display;
  KeySource& keySource;
  Keyboard keyboard;
  SoundSystem sound;
  Random random;
  BitmapFont font;
  Backdrop backdrop;

  Surface titlePicture;
  Surface cursorPicture;
  Surface newGameButton;
  Surface instructionsButton;
  Surface highscoreButton;
  Surface endButton;
  Surface clearButton;
  Surface backButton;
  Surface selectionFrame;

  Diver diver;
  std::array<ObjectGroup, ObjectKindCount> groups;
  Animation demoDiver;
  Animation demoFish;
  Animation demoPoisonBarrel;
  Animation demoShark;
  Animation demoStone;
  Animation demoBarrel;
  HighscoreTable highscores;
  NameEntry nameEntry;
  GameScreen currentScreen = GameScreen::Menu;

 private:
  ObjectGroups GroupPointers();
  void ParkSelectionFrame();
  void BackToMenu();
  void ShowHighscoreScreen();
  void DrawMenu();
  void DrawHighscoreScreen();
  void DrawNewHighscoreScreen();
  void DrawInstructions();

  bool quit_ = false;
};

}  // namespace tavi
