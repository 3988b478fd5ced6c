// Settings files with any text. Properties: every value read is one the game can use; every report
// names a line that exists, and a file is unparsable exactly when a line is no setting. Changing
// the game's own values in place reads back as those values and changes nothing else the file says.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ini_text.h"
#include "app/settings.h"
#include "base/dik.h"
#include "base/keyboard_keys.h"
#include "base/translate.h"
#include "fuzz_check.h"

namespace {

using tavi::Settings;
using tavi::SettingsFile;

SettingsFile Parse(const std::string& text) {
  SettingsFile file;
  file.path = "fuzz.ini";
  tavi::ParseSettings(text, file);
  return file;
}

void RequireUsable(const Settings& s) {
  TAVI_REQUIRE(s.windowWidth >= tavi::MinWindowSize.width && s.windowWidth <= tavi::MaxWindowSize.width);
  TAVI_REQUIRE(s.windowHeight >= tavi::MinWindowSize.height && s.windowHeight <= tavi::MaxWindowSize.height);
  TAVI_REQUIRE(s.musicVolume >= 0 && s.musicVolume <= 100 && s.effectVolume >= 0 && s.effectVolume <= 100);
  TAVI_REQUIRE(!s.keys.Clashing());
  for (const std::uint8_t key : s.keys.keys) {
    TAVI_REQUIRE(tavi::KeyboardSendsDik(key) && key != tavi::Dik::Escape && key != tavi::Dik::F9);
  }
  TAVI_REQUIRE(s.language.empty() || tavi::IsLanguageCode(s.language));  // a code: never a path
}

bool SameApartFromOwned(const Settings& a, const Settings& b) {
  return a.scaling == b.scaling && a.vsync == b.vsync && a.musicVolume == b.musicVolume &&
         a.effectVolume == b.effectVolume && a.pauseOnFocusLoss == b.pauseOnFocusLoss &&
         std::equal(a.keys.keys, a.keys.keys + tavi::KeyBindings::Count, b.keys.keys) && a.language == b.language;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > tavi::MaxSettingsBytes) return 0;  // the reader refuses larger files
  const std::string text(reinterpret_cast<const char*>(data), size);
  const SettingsFile file = Parse(text);
  RequireUsable(file.values);
  const long long lines = static_cast<long long>(tavi::SplitIni(text).size());
  bool unparsable = false;
  for (const tavi::SettingsProblem& problem : file.problems) {
    const std::string words = problem.Words();
    TAVI_REQUIRE(words.compare(0, 9, "fuzz.ini:") == 0);
    if (words[9] == ' ') continue;  // a report of the whole file
    char* end = nullptr;
    const long long line = std::strtoll(words.c_str() + 9, &end, 10);
    TAVI_REQUIRE(line >= 1 && line <= lines);
    unparsable = unparsable || std::string(end).compare(0, 20, ": keine Einstellung;") == 0;
  }
  TAVI_REQUIRE(unparsable == (file.state == SettingsFile::State::Unparsable));

  Settings owned = file.values;
  owned.fullscreen = !owned.fullscreen;
  owned.windowWidth = owned.windowWidth == 1234 ? 4321 : 1234;
  owned.windowHeight = 999;
  owned.muted = !owned.muted;
  std::string changed = text;
  for (const tavi::SettingChange& change : tavi::OwnedChanges(file.values, owned)) {
    tavi::SetIniValue(changed, change.section, change.key, change.value);
  }
  const SettingsFile again = Parse(changed);
  TAVI_REQUIRE(again.values.fullscreen == owned.fullscreen && again.values.windowWidth == owned.windowWidth &&
               again.values.windowHeight == 999 && again.values.muted == owned.muted);
  TAVI_REQUIRE(SameApartFromOwned(again.values, file.values));
  TAVI_REQUIRE(again.state == file.state);
  return 0;
}
