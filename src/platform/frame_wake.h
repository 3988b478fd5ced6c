#pragma once

#include <cstdint>

namespace tavi {

// How a browser page meets a frame's deadline: it cannot block, so it spins on the clock until the
// deadline or arms a timer to step again. The browser does its own rendering work on the same thread
// around each animation frame, from shortly before it until some milliseconds after (in headless
// Chromium without a GPU, timers due from 3 ms before an animation frame until 6 ms after it came
// up to 5 ms late, those between them 0.4 ms at most nine times in ten). A deadline in that window is
// met by spinning: from the animation frame itself when it lies after it, from a timer that fires
// before the window when it lies before it.
struct FrameWake {
  static constexpr std::int64_t FrameMicroseconds = 1000000 / 60;
  // A timer fires this late without making its frame late: timers come late, never early.
  static constexpr std::int64_t TimerSlack = 1000;
  static constexpr std::int64_t ShortSpin = TimerSlack + 1000;
  static constexpr std::int64_t BusyBefore = 3000;
  static constexpr std::int64_t BusyAfter = 6000;

  bool spin = false;
  std::int64_t timerAt = 0;  // when not spinning: when the timer should fire, on the same clock

  // All in microseconds of one clock: now, the frame's deadline, and when the last animation frame
  // began (long ago when there are none, as for a hidden page).
  static FrameWake Plan(std::int64_t now, std::int64_t deadline, std::int64_t animationFrame) {
    const std::int64_t wait = deadline - now;
    const std::int64_t next = animationFrame + FrameMicroseconds;
    const bool afterThis = deadline <= animationFrame + BusyAfter;
    const bool beforeNext = deadline > next - BusyBefore && deadline <= next;
    if (wait <= ShortSpin || (afterThis && wait <= BusyAfter) ||
        (beforeNext && wait <= BusyBefore + TimerSlack + 1000)) {
      return {true, 0};
    }
    return {false, (beforeNext ? next - BusyBefore : deadline) - TimerSlack};
  }
};

}  // namespace tavi
