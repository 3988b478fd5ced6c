#pragma once

#include <memory>
#include <optional>

#include "app/file_paths.h"
#include "app/options.h"
#include "base/key_bindings.h"

namespace tavi {

class HighscoreTable;
class Platform;

// One run of the program, advanced one step at a time: by RunProgram in a loop, or by the
// browser once per animation frame. Options, platform and files must outlive it.
class ProgramRun {
 public:
  enum class Step {
    Again,     // an event was handled: step again at once
    Waiting,   // waited for the next frame's time or during a pause
    Rendered,  // a frame was rendered
    Done,      // the program ends: call Finish
  };

  ProgramRun(const Options& options, Platform& platform, const FilePaths& files);
  ~ProgramRun();

  // Loads the demo, opens the window and starts the game; an exit status when the run ends here.
  std::optional<int> Start();
  Step Advance();
  // Closes the outputs; the exit status.
  int Finish();
  // False for a timedemo and a headless run without a demo: frames as fast as they can go.
  bool Paced() const;
  // The game's list, after Start (the browser saves it between frames).
  HighscoreTable& Highscores();
  // The screen shown, as GameScreen's value, after Start (the browser's touch controls follow it).
  int ShownScreen() const;
  // The player's own keys from now on (the browser's settings panel changes them while it runs).
  void SetKeyBindings(const KeyBindings& keys);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Start-up, the main loop and the end of the program. Returns the exit status.
int RunProgram(const Options& options, Platform& platform, const FilePaths& files = {});

}  // namespace tavi
