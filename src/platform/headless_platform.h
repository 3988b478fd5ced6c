#pragma once

#include <memory>

#include "platform/platform.h"

namespace tavi {

// A platform without window, display or audio device: no events, no keys down, frames go
// nowhere, messages go to standard error. Pictures and text work as on the real platform.
std::unique_ptr<Platform> CreateHeadlessPlatform();

}  // namespace tavi
