#pragma once

#include <memory>

#include "platform/platform.h"

namespace tavi {

// Effects and music through the page's Web Audio: the effects decoded from the media's waves, the
// music a recording the page fetches beside the game (./web.sh renders it).
class WebAudioDevice : public AudioDevice {
 public:
  // Decodes and queues the next pieces of music when it plays and has room: called after a frame.
  virtual void FeedMusic() = 0;
};

std::unique_ptr<WebAudioDevice> CreateWebAudio();

}  // namespace tavi
