#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
  std::string language;  // --lang: "de" or "en"; empty: the settings file's, else the locale's
  bool help = false;
  bool version = false;

  const std::string& DemoFile() const { return timedemo.empty() ? demo : timedemo; }
};

// Reads a whole word as an integer in the given base within [low, high].
bool ParseInteger(const std::string& text, int base, long long low, long long high, long long& value);

// Parses argv; false with a message for an unknown option or a bad value.
bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error);
const char* UsageText();

}  // namespace tavi
