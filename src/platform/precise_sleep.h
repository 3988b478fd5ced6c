#pragma once

#include <cstdint>

namespace tavi {

// The monotonic clock in nanoseconds.
std::int64_t MonotonicNanoseconds();

// The deadline of a wait of `timeoutMicroseconds`, a microsecond later than asked: timeouts are
// rounded down to whole microseconds, and the caller's deadline must have passed when it ends.
std::int64_t DeadlineAfter(std::int64_t timeoutMicroseconds);

// Returns when the monotonic clock has reached `deadline` (nanoseconds), not noticeably later:
// the thread sleeps until shortly before and spins through the last fraction of a millisecond,
// since a sleeping thread wakes tens of microseconds late. Returns at once for a past deadline.
void SleepUntil(std::int64_t deadline);

}  // namespace tavi
