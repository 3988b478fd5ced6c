#pragma once

#include <memory>

#include "platform/platform.h"

namespace tavi {

// Effects and music through the page's Web Audio: the effects decoded from the media's waves, the
// music a recording the page fetched before the game started (./web.sh renders it).
std::unique_ptr<AudioDevice> CreateWebAudio();

}  // namespace tavi
