#pragma once

#include <cstdint>

namespace tavi {

// Milliseconds since the machine started, wrapping at 32 bits like a Windows tick count; the
// random seed comes from it, so every start plays a different game.
std::uint32_t MillisecondsSinceBoot();

}  // namespace tavi
