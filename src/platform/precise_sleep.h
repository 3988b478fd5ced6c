#pragma once

#include <cstdint>

namespace tavi {

// The monotonic clock in nanoseconds.
std::int64_t MonotonicNanoseconds();

// The deadline of a wait of `timeoutMicroseconds`, a microsecond later than asked: timeouts are
// rounded down to whole microseconds, and the caller's deadline must have passed when it ends.
std::int64_t DeadlineAfter(std::int64_t timeoutMicroseconds);

// How long before a deadline a sleeping thread must wake to be on time: a frame that starts late
// is never made up, so the margin rises at once to cover the latest wake-up seen and sinks back
// slowly, since every microsecond of it is spun.
class WakeMargin {
 public:
  static constexpr std::int64_t FloorNanoseconds = 200000;
  static constexpr std::int64_t CeilingNanoseconds = 1000000;  // beyond it, spinning costs too much

  std::int64_t Nanoseconds() const { return margin_; }

  // The thread woke `lateNanoseconds` after the time it asked for.
  void Observe(std::int64_t lateNanoseconds);

 private:
  std::int64_t margin_ = FloorNanoseconds;
};

// Returns from SleepUntil when the monotonic clock has reached the deadline (nanoseconds), not
// noticeably later: the thread sleeps until a margin before and spins through the rest, since a
// sleeping thread wakes tens to hundreds of microseconds late. One per thread that waits.
class PreciseSleeper {
 public:
  PreciseSleeper();
  void SleepUntil(std::int64_t deadline);

 private:
  WakeMargin margin_;
};

}  // namespace tavi
