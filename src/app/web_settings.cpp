#include "app/web_settings.h"

#include <emscripten.h>

#include <cstdio>
#include <string>

#include "app/ini_text.h"
#include "app/program.h"
#include "app/settings_save.h"
#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/translate.h"
#include "platform/web_keys.h"

namespace tavi {

namespace {

Platform* attachedPlatform = nullptr;
ProgramRun* attachedRun = nullptr;
bool rememberedMute = false;  // as the file has it

const char* const ScalingNames[] = {"smooth", "sharp", "integer"};

// What the page applies itself (the scaling), the language the game speaks and what is wrong with
// the file, one problem a line, in that language.
void TellPage(const SettingsFile& file) {
  std::string problems;
  for (const SettingsProblem& problem : file.problems) problems += Cp1252ToUtf8(problem.Words()) + "\n";
  std::string keys;  // as the file names them, in the order of KeyBindings::Action
  for (const std::uint8_t key : file.values.keys.keys) keys += (keys.empty() ? "" : " ") + SettingsKeyName(key);
  const Settings& values = file.values;
  EM_ASM({
    if (Module.onTaviSettings) {
      Module.onTaviSettings({scaling: UTF8ToString($0), language: UTF8ToString($1), problems: UTF8ToString($2),
                             setLanguage: UTF8ToString($3), keys: UTF8ToString($4).split(' '), musicVolume: $5,
                             effectVolume: $6, pauseOnFocusLoss: !!$7});
    }
  }, ScalingNames[static_cast<int>(values.scaling)], ActiveLanguage().c_str(), problems.c_str(), values.language.c_str(),
         keys.c_str(), values.musicVolume, values.effectVolume, values.pauseOnFocusLoss ? 1 : 0);
}

// The values a running game takes at once; pausing on focus loss and the language count from the
// next start.
void Apply(const SettingsFile& file) {
  if (!attachedPlatform) return;
  AudioDevice& audio = attachedPlatform->Audio();
  audio.SetMusicVolume(file.values.musicVolume);
  audio.SetEffectVolume(file.values.effectVolume);
  attachedRun->SetKeyBindings(file.values.keys);
  TellPage(file);
}

}  // namespace

SettingsFile ReadWebSettings() { return ReadSettings(WebSettingsPath); }

void AttachWebSettings(const SettingsFile& file, Platform& platform, ProgramRun& run) {
  attachedPlatform = &platform;
  attachedRun = &run;
  platform.Audio().SetMuted(file.values.muted);  // F9's mute, as the file remembers it
  rememberedMute = file.values.muted;
  Apply(file);
}

void RememberWebMute() {
  if (!attachedPlatform || attachedPlatform->Audio().Muted() == rememberedMute) return;
  rememberedMute = attachedPlatform->Audio().Muted();
  // As at the desktop's exit: only the entry in place, and a file that is no settings file is left alone.
  const SettingsFile file = ReadWebSettings();
  Settings now = file.values;
  now.muted = rememberedMute;
  ErrorLog console(nullptr, "");
  if (RememberSettings(file, now, console)) EM_ASM(if (Module.onTaviSettingsWritten) Module.onTaviSettingsWritten(););
}

}  // namespace tavi

// Sets one entry of the settings file in place (a missing file is first made with the defaults),
// as a player editing tavi.ini would, and applies the file as read again; the page then keeps the
// file's text. A file that is no text is left as it is, as on the desktop (its problem is on the
// panel already): 0.
extern "C" EMSCRIPTEN_KEEPALIVE int TaviSetSetting(const char* section, const char* key, const char* value) {
  std::string text;
  const tavi::SettingsFile before = tavi::ReadSettings(tavi::WebSettingsPath, &text);
  if (before.state == tavi::SettingsFile::State::Unreadable) return 0;
  if (before.state == tavi::SettingsFile::State::Missing) text = tavi::DefaultSettingsText();
  tavi::SetIniValue(text, section, key, value);
  std::FILE* out = std::fopen(tavi::WebSettingsPath, "wb");
  if (!out) return 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written) return 0;
  tavi::Apply(tavi::ReadWebSettings());
  return 1;
}

// The name tavi.ini gives the key with this KeyboardEvent.code ("KeyQ": "Q"), or its scan code in
// hex; empty for a key the game cannot read.
extern "C" EMSCRIPTEN_KEEPALIVE const char* TaviKeyName(const char* code) {
  static std::string name;
  const std::uint8_t dik = tavi::DikFromKeyCode(code);
  name = dik == 0 ? "" : tavi::SettingsKeyName(dik);
  return name.c_str();
}
