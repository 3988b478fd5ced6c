#pragma once

#include <cstdint>

namespace tavi {

// The monotonic clock in nanoseconds.
std::int64_t MonotonicNanoseconds();

// Returns when the monotonic clock has reached `deadline` (nanoseconds), not noticeably later:
// the thread sleeps until shortly before and spins through the last fraction of a millisecond,
// since a sleeping thread wakes tens of microseconds late. Returns at once for a past deadline.
void SleepUntil(std::int64_t deadline);

}  // namespace tavi
