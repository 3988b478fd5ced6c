#include "platform/boot_clock.h"

#include <time.h>

namespace tavi {

std::uint32_t MillisecondsSinceBoot() {
  timespec now{};
  // The boot clock also counts time asleep; kernels without it still have the monotonic one.
  if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) clock_gettime(CLOCK_MONOTONIC, &now);
  const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                            static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(milliseconds);
}

}  // namespace tavi
