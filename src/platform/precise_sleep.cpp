#include "platform/precise_sleep.h"

#include <errno.h>
#include <time.h>

#include <algorithm>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tavi {

namespace {

// Kept above the latest wake-up by this much: wake-ups vary a little from one to the next.
constexpr std::int64_t HeadroomNanoseconds = 50000;
// The share of the margin above the floor given up per wait: it halves in about eleven frames.
constexpr std::int64_t DecayDivisor = 16;

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

void WakeMargin::Observe(std::int64_t lateNanoseconds) {
  const std::int64_t wanted = lateNanoseconds + HeadroomNanoseconds;
  if (wanted > margin_) {
    margin_ = std::min(wanted, CeilingNanoseconds);
  } else {
    margin_ -= (margin_ - FloorNanoseconds) / DecayDivisor;
  }
}

PreciseSleeper::PreciseSleeper() {
#ifdef __linux__
  // The default slack of 50 us lets the kernel wake the thread that much later still.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

void PreciseSleeper::SleepUntil(std::int64_t deadline) {
  const std::int64_t wakeAt = deadline - margin_.Nanoseconds();
  if (MonotonicNanoseconds() < wakeAt) {
    // Absolute: an interrupted sleep resumes towards the same moment.
    const timespec until{static_cast<time_t>(wakeAt / 1000000000), static_cast<long>(wakeAt % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
    margin_.Observe(MonotonicNanoseconds() - wakeAt);
  }
  while (MonotonicNanoseconds() < deadline) CpuRelax();
}

}  // namespace tavi
