#include "app/settings.h"

#include <ini.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/options.h"
#include "base/atomic_file.h"
#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/key_names.h"
#include "base/translate.h"

namespace tavi {

namespace {

struct Key {
  const char* section;
  const char* name;
  const char* comment;   // above the key in the written file; empty: none
  const char* expected;  // what a good value looks like, for the report
  bool (*parse)(const std::string& text, Settings& settings);
  std::string (*format)(const Settings& settings);
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

bool ParseNumber(const std::string& text, long long low, long long high, int& value) {
  long long number = 0;
  if (!ParseInteger(text, 10, low, high, number)) return false;
  value = static_cast<int>(number);
  return true;
}

std::string Bool(bool value) { return value ? "true" : "false"; }

const char* const ScalingNames[] = {"smooth", "sharp", "integer"};

// A key as demo files name it, or its scan code in hex.
bool ParseKey(const std::string& text, std::uint8_t& key) {
  long long code = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (!ParseInteger(text.substr(2), 16, 1, 255, code)) return false;
  } else if ((code = DikFromName(text)) < 0) {
    return false;
  }
  key = static_cast<std::uint8_t>(code);
  return true;
}

std::string KeyName(std::uint8_t key) {
  if (const char* name = DikName(key)) return name;
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", key);
  return hex;
}

constexpr const char* KeyExpected = "a key name (A, SPACE, UP, LSHIFT, ...) or a scan code like 0x2A";

template <KeyBindings::Action action>
Key KeyEntry(const char* name, const char* comment) {
  return {"keys", name, comment, KeyExpected,
          [](const std::string& t, Settings& s) { return ParseKey(t, s.keys.keys[action]); },
          [](const Settings& s) { return KeyName(s.keys.keys[action]); }};
}

const Key Keys[] = {
    {"display", "fullscreen", "true: desktop full screen; false: a window (Alt+Enter toggles)", "true or false",
     [](const std::string& t, Settings& s) { return ParseBool(t, s.fullscreen); },
     [](const Settings& s) { return Bool(s.fullscreen); }},
    {"display", "window_width", "The window's size in pixels, remembered at exit", "a number from 320 to 16384",
     [](const std::string& t, Settings& s) { return ParseNumber(t, 320, 16384, s.windowWidth); },
     [](const Settings& s) { return std::to_string(s.windowWidth); }},
    {"display", "window_height", "", "a number from 240 to 16384",
     [](const std::string& t, Settings& s) { return ParseNumber(t, 240, 16384, s.windowHeight); },
     [](const Settings& s) { return std::to_string(s.windowHeight); }},
    {"display", "scaling", "smooth (filtered), sharp (nearest pixel) or integer (sharp, whole multiples)",
     "smooth, sharp or integer",
     [](const std::string& t, Settings& s) {
       for (int k = 0; k < 3; ++k) {
         if (t == ScalingNames[k]) s.scaling = static_cast<Scaling>(k);
       }
       return t == "smooth" || t == "sharp" || t == "integer";
     },
     [](const Settings& s) { return std::string(ScalingNames[static_cast<int>(s.scaling)]); }},
    {"display", "vsync", "true: each frame waits for the display's refresh", "true or false",
     [](const std::string& t, Settings& s) { return ParseBool(t, s.vsync); },
     [](const Settings& s) { return Bool(s.vsync); }},
    {"sound", "music_volume", "Volumes from 0 (silent) to 100 (full)", "a number from 0 to 100",
     [](const std::string& t, Settings& s) { return ParseNumber(t, 0, 100, s.musicVolume); },
     [](const Settings& s) { return std::to_string(s.musicVolume); }},
    {"sound", "effect_volume", "", "a number from 0 to 100",
     [](const std::string& t, Settings& s) { return ParseNumber(t, 0, 100, s.effectVolume); },
     [](const Settings& s) { return std::to_string(s.effectVolume); }},
    {"pause", "on_focus_loss", "true: the game pauses when its window loses the focus", "true or false",
     [](const std::string& t, Settings& s) { return ParseBool(t, s.pauseOnFocusLoss); },
     [](const Settings& s) { return Bool(s.pauseOnFocusLoss); }},
    KeyEntry<KeyBindings::Up>("up", "Swimming"),
    KeyEntry<KeyBindings::Down>("down", ""),
    KeyEntry<KeyBindings::Left>("left", ""),
    KeyEntry<KeyBindings::Right>("right", ""),
    KeyEntry<KeyBindings::Net>("net", "Throwing the net"),
    KeyEntry<KeyBindings::Pause>("pause", "Pause; the Pause key always pauses as well"),
    {"language", "language", "de (Deutsch) or en (English); empty: the locale's (LANG), German unless English",
     "de, en or empty",
     [](const std::string& t, Settings& s) {
       Language language;
       if (!t.empty() && !LanguageFromCode(t, language)) return false;
       s.language = t;
       return true;
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
     "; actions share a key; Escape and F9 keep their own jobs. Names are typed with the letters as\n"
     "; they are."},
    {"gamepad", "Gamepad: nothing to set here yet"},
    {"language", "Language of the texts and pictures; --lang wins over it"},
};

int Handle(void* user, const char* section, const char* name, const char* value) {
  auto& file = *static_cast<SettingsFile*>(user);
  SettingsFile::Entry entry{section, name, value, false};
  for (const Key& key : Keys) {
    if (entry.section != key.section || entry.key != key.name) continue;
    Settings parsed = file.values;
    entry.used = key.parse(entry.value, parsed);
    if (entry.used) {
      file.values = parsed;
    } else {
      file.problems.push_back(file.path + ": [" + entry.section + "] " + entry.key + " = \"" + entry.value +
                              "\" is not " + key.expected + "; the default " + key.format(Settings{}) +
                              " is used");
    }
  }
  file.entries.push_back(entry);
  return 1;
}

void WriteEntry(std::string& text, const SettingsFile::Entry& entry) {
  text += entry.key + " = " + entry.value + "\n";
}

}  // namespace

void ParseSettings(const std::string& text, SettingsFile& file) {
  const int line = ini_parse_string(text.c_str(), Handle, &file);
  file.state = line == 0 ? SettingsFile::State::Read : SettingsFile::State::Unparsable;
  if (file.values.keys.Clashing()) {
    file.problems.push_back(file.path + ": [keys] two actions share one key; the default keys are used");
    file.values.keys = KeyBindings{};
    // Written back as the player wrote them, to mend.
    for (SettingsFile::Entry& entry : file.entries) {
      if (entry.section == "keys") entry.used = false;
    }
  }
  if (line != 0) {
    file.problems.push_back(FileNameText(file.path) + ":" + std::to_string(line) +
                            ": not a setting; the file is left as it is");
  }
}

SettingsFile ReadSettings(const std::string& path) {
  SettingsFile file;
  file.path = path;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) {
    file.state = errno == ENOENT ? SettingsFile::State::Missing : SettingsFile::State::Unreadable;
    if (errno != ENOENT) {
      file.problems.push_back(FileNameText(path) + ": " + std::strerror(errno) + "; the defaults are used");
    }
    return file;
  }
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
  const bool failed = std::ferror(in) != 0;
  std::fclose(in);
  if (failed || text.find('\0') != std::string::npos) {
    file.state = SettingsFile::State::Unreadable;
    file.problems.push_back(FileNameText(path) + ": cannot be read as text; the defaults are used");
    return file;
  }
  ParseSettings(text, file);
  return file;
}

std::string SettingsText(const SettingsFile& file) {
  std::string text =
      "; tavi's settings. Options on the command line win over this file. The game writes it back\n"
      "; when the window's size changed and keeps entries it does not know.\n";
  auto section = [&](const std::string& name) {
    for (const SettingsFile::Entry& entry : file.entries) {
      if (entry.section == name && !entry.used) WriteEntry(text, entry);
    }
  };
  section("");
  for (const auto& [name, comment] : Sections) {
    text += std::string("\n[") + name + "]\n";
    if (comment) text += std::string("; ") + comment + "\n";
    for (const Key& key : Keys) {
      if (name != std::string(key.section)) continue;
      if (*key.comment) text += std::string("; ") + key.comment + "\n";
      bool bad = false;  // a bad value stays as written, for the player to mend
      for (const SettingsFile::Entry& entry : file.entries) {
        bad = bad || (entry.section == name && entry.key == key.name && !entry.used);
      }
      if (!bad) text += std::string(key.name) + " = " + key.format(file.values) + "\n";
    }
    section(name);
  }
  std::vector<std::string> others;
  for (const SettingsFile::Entry& entry : file.entries) {
    bool known = entry.section.empty();
    for (const auto& [name, comment] : Sections) known = known || entry.section == name;
    for (const std::string& other : others) known = known || entry.section == other;
    if (known) continue;
    others.push_back(entry.section);
    text += "\n[" + entry.section + "]\n";
    section(entry.section);
  }
  return text;
}

bool WriteSettings(const SettingsFile& file, std::string& error) {
  if (!file.Writable() || file.path.empty()) {
    error = "the file is left as it is";
    return false;
  }
  const std::string text = SettingsText(file);
  return WriteFileAtomically(file.path, text.data(), text.size(), error);
}

SettingsFile StartSettings(const std::string& path, ErrorLog& log) {
  if (path.empty()) return {};
  SettingsFile file = ReadSettings(path);
  for (const std::string& problem : file.problems) log.LogError(problem);
  std::string error;
  if (file.state == SettingsFile::State::Missing && !WriteSettings(file, error)) {
    WriteToStandardError("tavi: cannot write the settings " + FileNameText(path) + " (" + error + ")");
  }
  return file;
}

void RememberWindowSize(SettingsFile& file, WindowSize size, ErrorLog& log) {
  if (!file.Writable() || file.path.empty()) return;
  if (size.width == file.values.windowWidth && size.height == file.values.windowHeight) return;
  file.values.windowWidth = size.width;
  file.values.windowHeight = size.height;
  // The new size replaces a bad value that was written there.
  for (SettingsFile::Entry& entry : file.entries) {
    if (entry.section == "display" && (entry.key == "window_width" || entry.key == "window_height")) {
      entry.used = true;
    }
  }
  std::string error;
  if (!WriteSettings(file, error)) log.LogError("cannot write the settings " + FileNameText(file.path) + " (" + error + ")");
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
  platform.keys = settings.keys;
  return platform;
}

}  // namespace tavi
