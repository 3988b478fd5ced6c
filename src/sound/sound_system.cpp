#include "sound/sound_system.h"

#include <cstring>

#include "base/error_log.h"
#include "base/translate.h"
#include "platform/platform.h"

namespace tavi {

SoundSystem::SoundSystem(Platform& platform, AudioDevice& audio, ErrorLog& errorLog)
    : platform_(platform), audio_(audio), errorLog_(errorLog) {}

SoundSystem::~SoundSystem() {
  if (open_) audio_.Close();
}

void SoundSystem::Init() {
  count_ = 0;
  failed_.clear();
  std::string reason;
  if (audio_.Open(reason)) {
    open_ = true;
    silent_ = false;
    return;
  }
  // Said once here; every later call stays quiet instead of raising a box per frame.
  silent_ = true;
  const std::string message = FillIn(Translate("Das Spiel l\xE4uft ohne Ton: %s"), {reason});  // läuft
  // Silence asked for by an option is said, not logged as a failure.
  audio_.SilenceChosen() ? errorLog_.Note(message) : errorLog_.LogError(message);
}

void SoundSystem::AddSound(const std::string& fileName) {
  if (!open_) return;
  if (count_ == MaxSounds) {
    platform_.ShowMessage("AddSound", Translate("Maximale Anzahl an Sounds erreicht"));
    return;
  }
  const int handle = audio_.LoadEffect(fileName);
  if (handle < 0) {
    // The slot stays free for the next effect. Reported once, with at most one box for all
    // effects; playing it later stays silent instead of stopping the game with a box each time.
    const std::string message = FillIn(Translate("Fehler beim Laden der Datei: %s"), {fileName});
    errorLog_.LogError(message);
    if (!loadFailureShown_) platform_.ShowMessage("AddSound", message);
    loadFailureShown_ = true;
    failed_.push_back(fileName);
    return;
  }
  handles_[count_] = handle;
  names_[count_] = fileName;
  ++count_;
}

void SoundSystem::AddBackgroundMusic(const std::string& fileName) {
  if (!open_) return;
  std::string reason;
  hasMusic_ = audio_.LoadMusic(fileName, reason);
  if (hasMusic_) return;
  if (platform_.MediaExists(fileName)) {
    // The file is there but the synthesiser cannot play it (typically no soundfont): nothing
    // the player can fix by a click, so it goes to the log and the game plays without music.
    const bool named = reason.find(fileName) != std::string::npos;
    errorLog_.LogError(named ? FillIn(Translate("Musik konnte nicht geladen werden: %s"), {reason})
                             : FillIn(Translate("Musik konnte nicht geladen werden: %s: %s"), {fileName, reason}));
    return;
  }
  platform_.ShowMessage("AddBackgroundMusic", FillIn(Translate("Fehler beim Laden der Datei: %s"), {fileName}));
}

void SoundSystem::PlayBackgroundMusic() {
  if (!open_ || !hasMusic_) return;
  audio_.PlayMusicForever();
}

void SoundSystem::PlaySoundEffect(const std::string& name) {
  if (!open_) return;
  // Byte for byte up to the terminator: case and slash direction count, the lowest slot wins.
  for (int slot = 0; slot < count_; ++slot) {
    if (std::strcmp(names_[slot].c_str(), name.c_str()) == 0) {
      audio_.PlayEffect(handles_[slot]);
      return;
    }
  }
  for (const std::string& failed : failed_) {
    if (std::strcmp(failed.c_str(), name.c_str()) == 0) return;  // reported when it was loaded
  }
  platform_.ShowMessage("PlaySoundEffect", Translate("Soundeffekt nicht vorhanden"));
}

}  // namespace tavi
