#include "platform/precise_sleep.h"

#include <errno.h>
#include <time.h>

namespace tavi {

namespace {

// Long enough to cover the timer slack (50 us) and the wake-up of an idle machine; every
// microsecond of it costs CPU at 60 frames a second.
constexpr std::int64_t SpinNanoseconds = 200000;

void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

}  // namespace

std::int64_t MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::int64_t DeadlineAfter(std::int64_t timeoutMicroseconds) {
  return MonotonicNanoseconds() + (timeoutMicroseconds + 1) * 1000;
}

void SleepUntil(std::int64_t deadline) {
  const std::int64_t wakeAt = deadline - SpinNanoseconds;
  if (MonotonicNanoseconds() < wakeAt) {
    // Absolute: an interrupted sleep resumes towards the same moment.
    const timespec until{static_cast<time_t>(wakeAt / 1000000000), static_cast<long>(wakeAt % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
  }
  while (MonotonicNanoseconds() < deadline) CpuRelax();
}

}  // namespace tavi
