#pragma once

#include <string>
#include <utility>

#include "platform/platform.h"

namespace tavi {

// The audio device when there is none to be had: Open fails with the reason given here, and
// everything else does nothing. `chosen`: the player asked for silence.
class NullAudio : public AudioDevice {
 public:
  explicit NullAudio(std::string reason, bool chosen = false) : reason_(std::move(reason)), chosen_(chosen) {}

  bool Open(std::string& reason) override {
    reason = reason_;
    return false;
  }
  int LoadEffect(const std::string&) override { return -1; }
  bool LoadMusic(const std::string&, std::string& reason) override {
    reason = reason_;
    return false;
  }
  void PlayEffect(int) override {}
  void PlayMusicForever() override {}
  void SetMusicVolume(int) override {}
  void SetEffectVolume(int) override {}
  // Kept although nothing sounds, so that the choice is remembered for a run with sound.
  void SetMuted(bool muted) override { muted_ = muted; }
  bool Muted() const override { return muted_; }
  void Pause() override {}
  void Resume() override {}
  void Close() override {}
  bool SilenceChosen() const override { return chosen_; }

 private:
  std::string reason_;
  bool chosen_;
  bool muted_ = false;
};

}  // namespace tavi
