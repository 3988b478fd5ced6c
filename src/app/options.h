#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/key_bindings.h"
#include "platform/platform.h"

namespace tavi {

struct Screenshot {
  long long frame = 0;
  std::string file;
};

// The command line. None of it is needed to play.
struct Options {
  bool window = false;
  bool headless = false;
  bool sound = true;
  std::optional<Scaling> scaling;  // else the settings file's
  std::string dataDir;             // --data-dir: the list, the log and the settings in one folder
  std::string demo;      // --demo: play in real time
  std::string timedemo;  // --timedemo: play as fast as possible
  std::string record;
  std::string trace;
  std::optional<std::uint32_t> seed;
  std::vector<Screenshot> screenshots;
  std::optional<long long> frames;
  bool pauseOnFocusLoss = true;  // a game pauses when the window loses the focus (never headless)
  KeyBindings keys;              // the settings file's: the player's own keys
  std::string language;  // --lang: a language code; empty: the settings file's, else the locale's
  bool help = false;
  bool version = false;

  const std::string& DemoFile() const { return timedemo.empty() ? demo : timedemo; }
};

// One option of the command line; the table of them drives parsing and --help.
struct OptionRow {
  const char* name;       // "--window"
  const char* shortName;  // "-h", or nullptr
  const char* value;      // the value's name in --help (German, for the catalogue); nullptr: a switch
  const char* help;       // what it does (German, for the catalogue); "%s" is the languages on offer
  // Stores the value (empty for a switch) in `options`; false, with a message, for a bad one.
  bool (*apply)(const std::string& value, Options& options, std::string& error);
};
const std::vector<OptionRow>& OptionTable();

// Reads a whole word as an integer in the given base within [low, high].
bool ParseInteger(const std::string& text, int base, long long low, long long high, long long& value);

// Parses argv, each value given as "--name value" or "--name=value"; false with a message for an
// unknown option or a missing or bad value.
bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error);
// The usage in the active language (Windows-1252), `languages` being those on offer.
std::string UsageText(const std::string& languages);

}  // namespace tavi
