#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "base/frame_size.h"
#include "base/key_bindings.h"
#include "platform/platform.h"

namespace tavi {

struct Options;

// What tavi.ini can set. The defaults are the game without a settings file.
struct Settings {
  bool fullscreen = true;
  int windowWidth = FrameWidth;
  int windowHeight = FrameHeight;
  Scaling scaling = Scaling::Smooth;
  bool vsync = true;
  int musicVolume = 100;  // 0 to 100
  int effectVolume = 100;
  bool muted = false;
  bool pauseOnFocusLoss = true;
  KeyBindings keys;  // never two actions on one key, none on a key the game keeps for itself
  std::string language;  // a language code ("de", "fr", "pt_BR"); empty: the locale's
};

// One thing wrong with a settings file: a German text with {name} placeholders and what goes in
// them. It is put into words when it is reported, in the language the file itself may choose.
struct SettingsProblem {
  const char* text;
  std::vector<std::pair<std::string, std::string>> fields;
  std::string Words() const;
};

// A settings file as read: its values and what is wrong with it. When the file is left alone (state
// Unreadable or Unparsable), the first problem says why.
struct SettingsFile {
  enum class State { None, Missing, Read, Unreadable, Unparsable };
  std::string path;
  State state = State::None;
  Settings values;
  std::vector<SettingsProblem> problems;
};

// Larger is no settings file a player wrote; it is neither read nor replaced.
constexpr std::size_t MaxSettingsBytes = 256 * 1024;

// Reads settings text into `file` (values, problems; state Read or Unparsable). The last line of a
// key counts; a bad value there is reported and the default used.
void ParseSettings(const std::string& text, SettingsFile& file);
// Reads the file through the bounded reader: a missing file gives the defaults; one that is no
// regular file, too large or no text is reported and gives the defaults. `text` gets what was read.
SettingsFile ReadSettings(const std::string& path, std::string* text = nullptr);
// The commented file with every default, written at the first start.
std::string DefaultSettingsText();
// A key as the file names it (SPACE, A, UP), or its scan code in hex.
std::string SettingsKeyName(std::uint8_t key);

// The entries the game writes itself, in the file's words, where `now` differs from `before`:
// the window's size, the full-screen mode and the mute. No other value is ever written.
struct SettingChange {
  std::string section;
  std::string key;
  std::string value;
};
std::vector<SettingChange> OwnedChanges(const Settings& before, const Settings& now);

// The platform's options: the settings, with the command line winning.
PlatformOptions PlatformOptionsFor(const Options& options, const Settings& settings);

}  // namespace tavi
