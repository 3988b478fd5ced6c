#include "app/settings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "app/ini_text.h"
#include "app/options.h"
#include "base/cp1252.h"
#include "base/file_read.h"
#include "base/key_names.h"
#include "base/keyboard_keys.h"
#include "base/translate.h"

namespace tavi {

namespace {

// The reports, each a whole sentence. {file}:{line} is where the value stands.
constexpr const char* BoolText = ForCatalogue(
    "{file}:{line}: [{section}] {key} = \"{value}\" ist weder true noch false; es gilt die Voreinstellung {default}.");
constexpr const char* NumberText = ForCatalogue(
    "{file}:{line}: [{section}] {key} = \"{value}\" ist keine Zahl von {low} bis {high}; es gilt die Voreinstellung "
    "{default}.");
constexpr const char* ScalingText = ForCatalogue(
    "{file}:{line}: [{section}] {key} = \"{value}\" ist nicht smooth, sharp oder integer; es gilt die Voreinstellung "
    "{default}.");
constexpr const char* KeyNameText = ForCatalogue(
    "{file}:{line}: [{section}] {key} = \"{value}\" ist weder ein Tastenname (A, SPACE, UP, LSHIFT, ...) noch ein "
    "Scancode wie 0x2A; es gilt die Voreinstellung {default}.");
constexpr const char* KeptKeyText = ForCatalogue(
    "{file}:{line}: [{section}] {key} = \"{value}\" ist eine Taste, die das Spiel selbst braucht (Esc, F9, Pause); es "
    "gilt die Voreinstellung {default}.");
constexpr const char* NoKeyText = ForCatalogue(
    "{file}:{line}: [{section}] {key} = \"{value}\" ist ein Code, den keine Taste sendet; es gilt die Voreinstellung "
    "{default}.");
constexpr const char* LanguageText = ForCatalogue(
    "{file}:{line}: [{section}] {key} = \"{value}\" ist kein Sprachk\xFCrzel wie de, en oder pt_BR; es gilt die Sprache "
    "des Systems.");  // Sprachkürzel
constexpr const char* ClashText =
    ForCatalogue("{file}: [keys] zwei Aktionen liegen auf einer Taste; es gelten die voreingestellten Tasten.");
constexpr const char* NotSettingText = ForCatalogue("{file}:{line}: keine Einstellung; die Datei bleibt, wie sie ist.");
constexpr const char* UnreadableText = ForCatalogue("{reason}; es gelten die Voreinstellungen.");
constexpr const char* NotTextText =
    ForCatalogue("{file}: keine Textdatei; es gelten die Voreinstellungen, und die Datei bleibt, wie sie ist.");

struct Key {
  const char* section;
  const char* name;
  const char* comment;  // above the key in the written file; empty: none
  // Stores a good value and returns nullptr, else returns the report and leaves `settings` alone.
  const char* (*parse)(const std::string& text, Settings& settings);
  std::string (*format)(const Settings& settings);
  bool owned = false;  // the game writes it back when it changed
  int low = 0;         // the range of a number
  int high = 0;
};

bool ParseBool(const std::string& text, bool& value) {
  if (text == "true" || text == "yes" || text == "on" || text == "1") {
    value = true;
  } else if (text == "false" || text == "no" || text == "off" || text == "0") {
    value = false;
  } else {
    return false;
  }
  return true;
}

template <bool Settings::*field>
Key BoolEntry(const char* section, const char* name, const char* comment, bool owned = false) {
  return {section, name, comment,
          [](const std::string& t, Settings& s) -> const char* { return ParseBool(t, s.*field) ? nullptr : BoolText; },
          [](const Settings& s) { return std::string(s.*field ? "true" : "false"); }, owned};
}

template <int Settings::*field, int low, int high>
Key NumberEntry(const char* section, const char* name, const char* comment, bool owned = false) {
  return {section, name, comment,
          [](const std::string& t, Settings& s) -> const char* {
            long long number = 0;
            if (!ParseInteger(t, 10, low, high, number)) return NumberText;
            s.*field = static_cast<int>(number);
            return nullptr;
          },
          [](const Settings& s) { return std::to_string(s.*field); }, owned, low, high};
}

const char* const ScalingNames[] = {"smooth", "sharp", "integer"};

// A key as demo files name it, or its scan code in hex; not one the game keeps for itself (Escape
// ends and leaves, F9 mutes, Pause pauses), nor a code that no key sends.
template <KeyBindings::Action action>
const char* ParseKey(const std::string& text, Settings& settings) {
  long long code = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (!ParseInteger(text.substr(2), 16, 1, 255, code)) return KeyNameText;
  } else if ((code = DikFromName(text)) < 0) {
    return KeyNameText;
  }
  if (code == Dik::Escape || code == Dik::F9 || (code == Dik::Pause && action != KeyBindings::Pause)) {
    return KeptKeyText;
  }
  if (!KeyboardSendsDik(static_cast<int>(code))) return NoKeyText;
  settings.keys.keys[action] = static_cast<std::uint8_t>(code);
  return nullptr;
}

template <KeyBindings::Action action>
Key KeyEntry(const char* name, const char* comment) {
  return {"keys", name, comment, ParseKey<action>, [](const Settings& s) { return SettingsKeyName(s.keys.keys[action]); }};
}

const Key Keys[] = {
    BoolEntry<&Settings::fullscreen>("display", "fullscreen",
                                     "true: desktop full screen; false: a window. Alt+Enter's choice is remembered",
                                     true),
    NumberEntry<&Settings::windowWidth, MinWindowSize.width, MaxWindowSize.width>(
        "display", "window_width", "The window's size in pixels, remembered at exit", true),
    NumberEntry<&Settings::windowHeight, MinWindowSize.height, MaxWindowSize.height>("display", "window_height", "",
                                                                                     true),
    {"display", "scaling", "smooth (filtered), sharp (nearest pixel) or integer (sharp, whole multiples)",
     [](const std::string& t, Settings& s) -> const char* {
       for (int k = 0; k < 3; ++k) {
         if (t != ScalingNames[k]) continue;
         s.scaling = static_cast<Scaling>(k);
         return nullptr;
       }
       return ScalingText;
     },
     [](const Settings& s) { return std::string(ScalingNames[static_cast<int>(s.scaling)]); }},
    BoolEntry<&Settings::vsync>("display", "vsync", "true: each frame waits for the display's refresh"),
    NumberEntry<&Settings::musicVolume, 0, 100>("sound", "music_volume", "Volumes from 0 (silent) to 100 (full)"),
    NumberEntry<&Settings::effectVolume, 0, 100>("sound", "effect_volume", ""),
    BoolEntry<&Settings::muted>("sound", "muted", "true: F9 has muted the sound; remembered at exit", true),
    BoolEntry<&Settings::pauseOnFocusLoss>("pause", "on_focus_loss",
                                           "true: the game pauses when its window loses the focus"),
    KeyEntry<KeyBindings::Up>("up", "Swimming"),
    KeyEntry<KeyBindings::Down>("down", ""),
    KeyEntry<KeyBindings::Left>("left", ""),
    KeyEntry<KeyBindings::Right>("right", ""),
    KeyEntry<KeyBindings::Net>("net", "Throwing the net"),
    KeyEntry<KeyBindings::Pause>("pause", "Pause; the Pause key always pauses as well"),
    {"language", "language", "A language code such as de, en, fr or pt_BR; empty: the locale's (LANG), else German",
     [](const std::string& t, Settings& s) -> const char* {
       if (!t.empty() && !IsLanguageCode(t)) return LanguageText;
       s.language = t;
       return nullptr;
     },
     [](const Settings& s) { return s.language; }},
};

// Every section in the written file, in order, with its comment.
const std::pair<const char*, const char*> Sections[] = {
    {"display", nullptr},
    {"sound", nullptr},
    {"pause", nullptr},
    {"keys",
     "The diver's keys, named as in demo files: A to Z, 0 to 9, SPACE, RETURN, UP, DOWN, LEFT, RIGHT,\n"
     "; LSHIFT, RSHIFT, LCONTROL, RCONTROL, LMENU, TAB, NUMPAD0 to NUMPAD9, F1 to F12, HOME, END, ...,\n"
     "; or a scan code like 0x2A. A rebound action's own key then does nothing for it. No two\n"
     "; actions share a key; Escape, F9 and Pause keep their own jobs (pause may be the Pause key).\n"
     "; Names are typed with the letters as they are."},
    {"gamepad", "Gamepad: nothing to set here yet"},
    {"language", "Language of the texts and pictures; --lang wins over it"},
};

// A value as a report shows it: a long one cut short, so that one line of junk stays one line.
std::string Shown(const std::string& value) {
  constexpr std::size_t Longest = 40;
  return value.size() <= Longest ? value : value.substr(0, Longest) + "...";
}

}  // namespace

std::string SettingsKeyName(std::uint8_t key) {
  if (const char* name = DikName(key)) return name;
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", key);
  return hex;
}

std::string SettingsProblem::Words() const {
  // One pass, so that a value holding "{...}" stays as it is.
  const std::string translated = Translate(text);
  std::string words;
  for (std::size_t at = 0; at < translated.size(); ++at) {
    const std::size_t close = translated[at] == '{' ? translated.find('}', at) : std::string::npos;
    const std::string name = close == std::string::npos ? "" : translated.substr(at + 1, close - at - 1);
    const auto field = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == name; });
    if (close != std::string::npos && field != fields.end()) {
      words += field->second;
      at = close;
    } else {
      words += translated[at];
    }
  }
  return words;
}

void ParseSettings(const std::string& text, SettingsFile& file) {
  const std::vector<IniLine> lines = SplitIni(text);
  file.state = SettingsFile::State::Read;
  for (const IniLine& line : lines) {
    if (line.kind != IniLine::Kind::Bad) continue;
    file.state = SettingsFile::State::Unparsable;
    file.problems.push_back({NotSettingText, {{"file", FileNameText(file.path)}, {"line", std::to_string(line.number)}}});
  }
  std::vector<std::pair<int, SettingsProblem>> badValues;  // in the order of their lines
  for (const Key& key : Keys) {
    const IniLine* last = nullptr;
    for (const IniLine& line : lines) {
      if (line.kind == IniLine::Kind::Entry && line.section == key.section && line.key == key.name) last = &line;
    }
    if (!last) continue;
    if (const char* problem = key.parse(last->value, file.values)) {
      SettingsProblem bad{problem, {{"file", FileNameText(file.path)}, {"line", std::to_string(last->number)},
                                    {"section", key.section}, {"key", key.name}, {"value", Shown(last->value)},
                                    {"default", key.format(Settings{})}, {"low", std::to_string(key.low)},
                                    {"high", std::to_string(key.high)}}};
      badValues.emplace_back(last->number, std::move(bad));
    }
  }
  std::stable_sort(badValues.begin(), badValues.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& bad : badValues) file.problems.push_back(std::move(bad.second));
  if (file.values.keys.Clashing()) {
    file.problems.push_back({ClashText, {{"file", FileNameText(file.path)}}});
    file.values.keys = KeyBindings{};
  }
}

SettingsFile ReadSettings(const std::string& path, std::string* text) {
  SettingsFile file;
  file.path = path;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
    file.state = SettingsFile::State::Missing;
    return file;
  }
  std::string bytes, error;
  if (!ReadRegularFile(path, MaxSettingsBytes, bytes, error)) {
    file.state = SettingsFile::State::Unreadable;
    file.problems.push_back({UnreadableText, {{"reason", error}}});
  } else if (bytes.find('\0') != std::string::npos) {
    file.state = SettingsFile::State::Unreadable;
    file.problems.push_back({NotTextText, {{"file", FileNameText(path)}}});
  } else {
    ParseSettings(bytes, file);
    if (text) *text = std::move(bytes);
  }
  return file;
}

std::string DefaultSettingsText() {
  const Settings defaults;
  std::string text =
      "; tavi's settings. Options on the command line win over this file. The game itself changes\n"
      "; only fullscreen, window_width, window_height and muted, in place, when they changed while it\n"
      "; ran; everything else stays as you wrote it.\n";
  for (const auto& [name, comment] : Sections) {
    text += std::string("\n[") + name + "]\n";
    if (comment) text += std::string("; ") + comment + "\n";
    for (const Key& key : Keys) {
      if (name != std::string(key.section)) continue;
      if (*key.comment) text += std::string("; ") + key.comment + "\n";
      text += std::string(key.name) + " = " + key.format(defaults) + "\n";
    }
  }
  return text;
}

std::vector<SettingChange> OwnedChanges(const Settings& before, const Settings& now) {
  std::vector<SettingChange> changes;
  for (const Key& key : Keys) {
    if (key.owned && key.format(before) != key.format(now)) changes.push_back({key.section, key.name, key.format(now)});
  }
  return changes;
}

PlatformOptions PlatformOptionsFor(const Options& options, const Settings& settings) {
  PlatformOptions platform;
  platform.window = options.window || !settings.fullscreen;
  platform.headless = options.headless;
  platform.sound = options.sound && !options.headless;
  platform.windowSize = {settings.windowWidth, settings.windowHeight};
  platform.scaling = options.scaling ? *options.scaling : settings.scaling;
  platform.vsync = settings.vsync;
  platform.musicVolume = settings.musicVolume;
  platform.effectVolume = settings.effectVolume;
  platform.muted = settings.muted;
  return platform;
}

}  // namespace tavi
