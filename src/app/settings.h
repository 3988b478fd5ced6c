#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace tavi {

class ErrorLog;
struct Options;

// What tavi.ini can set. The defaults are the game without a settings file.
struct Settings {
  bool fullscreen = true;
  int windowWidth = 1024;
  int windowHeight = 768;
  Scaling scaling = Scaling::Smooth;
  bool vsync = true;
  int musicVolume = 100;  // 0 to 100
  int effectVolume = 100;
  bool pauseOnFocusLoss = true;
  KeyBindings keys;  // never two actions on one key
  std::string language;  // "de" or "en"; empty: the locale's
};

// A settings file as read: its values, every entry as written (those the game does not know are
// written back unchanged), and one line for each thing wrong with it.
struct SettingsFile {
  enum class State { None, Missing, Read, Unreadable, Unparsable };
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
    bool used = false;  // a known key with a good value
  };

  std::string path;
  State state = State::None;
  Settings values;
  std::vector<Entry> entries;
  std::vector<std::string> problems;

  // A file that could not be read or parsed may hold what the player wrote: it is never replaced.
  bool Writable() const { return state == State::Missing || state == State::Read; }
};

// Parses settings text into `file` (values, entries, problems; state Read or Unparsable).
void ParseSettings(const std::string& text, SettingsFile& file);
SettingsFile ReadSettings(const std::string& path);
// The commented file with the values of `file`, and the entries it does not use as they were.
std::string SettingsText(const SettingsFile& file);
// Replaces the file in one step; false with a reason, also when it is not Writable.
bool WriteSettings(const SettingsFile& file, std::string& error);

// Reads the file at `path` (none when empty), reports its problems on `log` and writes the
// defaults when it is missing.
SettingsFile StartSettings(const std::string& path, ErrorLog& log);
// Saves the window size the player left the window in, when it changed.
void RememberWindowSize(SettingsFile& file, WindowSize size, ErrorLog& log);

// The platform's options: the settings, with the command line winning.
PlatformOptions PlatformOptionsFor(const Options& options, const Settings& settings);

}  // namespace tavi
