#pragma once

#include <string>
#include <vector>

namespace tavi {

class AudioDevice;
class ErrorLog;
class Platform;

// Effects played by their file name, mixed over endless background music.
class SoundSystem {
 public:
  static constexpr int MaxSounds = 10;

  SoundSystem(Platform& platform, AudioDevice& audio, ErrorLog& errorLog);
  ~SoundSystem();

  // Opens the audio device. Without one the game runs silent: reported once in the error log
  // (Error.txt in a portable folder, error.log when installed), and every later operation quietly
  // does nothing.
  void Init();
  void AddSound(const std::string& fileName);
  void AddBackgroundMusic(const std::string& fileName);
  void PlayBackgroundMusic();
  void PlaySoundEffect(const std::string& name);

  int EffectCount() const { return count_; }
  bool Silent() const { return silent_; }

 private:
  Platform& platform_;
  AudioDevice& audio_;
  ErrorLog& errorLog_;
  bool open_ = false;    // the device is open; nothing is loaded or played before that
  bool silent_ = false;
  bool hasMusic_ = false;
  bool loadFailureShown_ = false;     // the one box for effects that could not be loaded
  std::vector<std::string> failed_;  // effects that could not be loaded, played as silence
  int count_ = 0;
  int handles_[MaxSounds] = {};
  std::string names_[MaxSounds];
};

}  // namespace tavi
