#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/backdrop.h"
#include "app/file_paths.h"
#include "app/screens/instructions_screen.h"
#include "app/screens/screen_context.h"
#include "app/screens/screen_list.h"
#include "base/error_log.h"
#include "game/diver.h"
#include "game/object_group.h"
#include "game/random.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "highscore/highscore_table.h"
#include "input/keyboard.h"
#include "input/name_entry.h"
#include "sound/sound_system.h"

namespace tavi {

class Platform;
class KeySource;
struct WindowEvent;

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

  // A window message: a mouse move or click, Esc, or the window closed. The loop's own messages
  // (pause, focus, key presses) do nothing here.
  void HandleEvent(const WindowEvent& event);
  // The window is destroyed (Esc or "Ende" in the menu, or closed): release and end the loop.
  void OnDestroy();
  bool QuitRequested() const { return quit_; }

  ScreenList& Screens() { return screens_; }
  const ScreenList& Screens() const { return screens_; }
  // The trace line of the frame just rendered (without the frame number).
  std::string TraceState() const;

  Display& GetDisplay() { return display_; }
  const Display& GetDisplay() const { return display_; }
  BitmapFont& Font() { return font_; }
  ErrorLog& Errors() { return errorLog_; }
  HighscoreTable& Highscores() { return highscores_; }
  // The game being played, for tests and benchmarks that set up a scene.
  Diver& GetDiver() { return diver_; }
  ObjectGroups Groups();
  Backdrop& GetBackdrop() { return backdrop_; }
  const NameEntry& GetNameEntry() const { return nameEntry_; }

 private:
  Platform& platform_;
  ErrorLog errorLog_;
  Display display_;
  KeySource& keySource_;
  Keyboard keyboard_;
  SoundSystem sound_;
  Random random_;
  BitmapFont font_;
  Backdrop backdrop_;
  ScreenContext context_;
  Diver diver_;
  std::array<ObjectGroup, ObjectKindCount> groups_;
  InstructionAnimations animations_;
  HighscoreTable highscores_;
  NameEntry nameEntry_;
  ScreenList screens_;
  bool quit_ = false;
};

}  // namespace tavi
