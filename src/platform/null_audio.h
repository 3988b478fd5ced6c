#pragma once

#include <string>
#include <utility>

#include "platform/platform.h"

namespace tavi {

// The audio device when there is none to be had: Open fails with the reason given here, and
// everything else does nothing.
class NullAudio : public AudioDevice {
 public:
  explicit NullAudio(std::string reason) : reason_(std::move(reason)) {}

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
  void Pause() override {}
  void Resume() override {}
  void Close() override {}

 private:
  std::string reason_;
};

}  // namespace tavi
