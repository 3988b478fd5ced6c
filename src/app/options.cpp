#include "app/options.h"

#include <cerrno>
#include <cstdlib>

#include "base/translate.h"


namespace tavi {

bool ParseInteger(const std::string& text, int base, long long low, long long high, long long& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, base);
  return errno == 0 && *end == '\0' && value >= low && value <= high;
}

namespace {

bool ParseNumber(const std::string& text, long long low, long long high, long long& value) {
  return ParseInteger(text, 10, low, high, value);
}

}  // namespace

const char* UsageText() {
  return ForCatalogue(
         "usage: tavi [options]\n"
         "  --window              a window at its last size instead of full screen (Alt+Enter toggles)\n"
         "  --scale MODE          smooth (default), sharp or integer (sharp, whole multiples)\n"
         "  --nosound             play without sound\n"
         "  --lang de|en          German (the default) or English; else the settings' or LANG's\n"
         "  --data-dir DIR        keep the highscore list, error log and settings in DIR\n"
         "  --headless            no window and no audio device\n"
         "  --demo FILE           play a recorded demo in real time\n"
         "  --timedemo FILE       play a demo as fast as possible and print the frame rate\n"
         "  --record FILE         record what is played as a demo\n"
         "  --trace FILE          write one line of game state per rendered frame\n"
         "  --seed N              seed of the random generator\n"
         "  --screenshot N:FILE   save rendered frame N as a PNG (may be repeated)\n"
         "  --frames N            end after N rendered frames\n"
         "  --help, --version\n");
}

bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) {
        error = "option " + arg + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    std::string text;
    long long number = 0;
    if (arg == "--window") {
      options.window = true;
    } else if (arg == "--headless") {
      options.headless = true;
    } else if (arg == "--nosound") {
      options.sound = false;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--demo") {
      if (!value(options.demo)) return false;
    } else if (arg == "--timedemo") {
      if (!value(options.timedemo)) return false;
    } else if (arg == "--record") {
      if (!value(options.record)) return false;
    } else if (arg == "--trace") {
      if (!value(options.trace)) return false;
    } else if (arg == "--data-dir") {
      if (!value(options.dataDir)) return false;
      if (options.dataDir.empty()) {
        error = "--data-dir needs a folder";
        return false;
      }
    } else if (arg == "--lang") {
      Language language;
      if (!value(options.language)) return false;
      if (!LanguageFromCode(options.language, language)) {
        error = "--lang needs de or en";
        return false;
      }
    } else if (arg == "--scale") {
      if (!value(text)) return false;
      if (text == "smooth") {
        options.scaling = Scaling::Smooth;
      } else if (text == "sharp") {
        options.scaling = Scaling::Sharp;
      } else if (text == "integer") {
        options.scaling = Scaling::SharpInteger;
      } else {
        error = "--scale needs smooth, sharp or integer";
        return false;
      }
    } else if (arg == "--seed") {
      if (!value(text)) return false;
      if (!ParseNumber(text, 0, 0xFFFFFFFFll, number)) {
        error = "--seed needs a number from 0 to 4294967295";
        return false;
      }
      options.seed = static_cast<std::uint32_t>(number);
    } else if (arg == "--frames") {
      if (!value(text)) return false;
      if (!ParseNumber(text, 0, 1ll << 50, number)) {
        error = "--frames needs a number of frames";
        return false;
      }
      options.frames = number;
    } else if (arg == "--screenshot") {
      if (!value(text)) return false;
      const auto colon = text.find(':');
      Screenshot shot;
      if (colon == std::string::npos || !ParseNumber(text.substr(0, colon), 0, 1ll << 50, shot.frame) ||
          colon + 1 == text.size()) {
        error = "--screenshot needs FRAME:FILE";
        return false;
      }
      shot.file = text.substr(colon + 1);
      options.screenshots.push_back(shot);
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (!options.demo.empty() && !options.timedemo.empty()) {
    error = "--demo and --timedemo exclude each other";
    return false;
  }
  return true;
}

}  // namespace tavi
