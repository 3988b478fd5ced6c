#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace tavi {

// The platform's counter; without one the millisecond tick count paces the frames.
class Clock {
 public:
  explicit Clock(Platform& platform) : platform_(platform), frequency_(platform.CounterFrequency()) {}
  bool HasCounter() const { return frequency_ > 0; }
  std::int64_t Frequency() const { return HasCounter() ? frequency_ : 1000; }
  std::int64_t Now() const { return HasCounter() ? platform_.Counter() : platform_.TickCount(); }

 private:
  Platform& platform_;
  std::int64_t frequency_;
};

// Frame pacing at 60 frames per second on a counter: a frame starts at the first check whose
// counter value is strictly greater than the deadline; the next deadline is that frame's start
// plus one frame time. Late frames are never made up.
class FramePacer {
 public:
  static constexpr int FramesPerSecond = 60;

  // `frequency` counter ticks per second; `now` the counter at start-up.
  FramePacer(std::int64_t frequency, std::int64_t now)
      : frequency_(frequency > 0 ? frequency : 1),
        frameTicks_(frequency_ / FramesPerSecond),
        nextFrameTime_(now + frameTicks_) {}

  bool Due(std::int64_t now) const { return now > nextFrameTime_; }
  void FrameStarted(std::int64_t now) { nextFrameTime_ = now + frameTicks_; }

  // How long the loop may block in the event wait before the deadline, in microseconds.
  std::int64_t WaitMicroseconds(std::int64_t now) const {
    const std::int64_t ticks = nextFrameTime_ - now;
    return ticks > 0 ? ticks * 1000000 / frequency_ : 0;
  }

  std::int64_t FrameTicks() const { return frameTicks_; }
  std::int64_t NextFrameTime() const { return nextFrameTime_; }

 private:
  std::int64_t frequency_;
  std::int64_t frameTicks_;
  std::int64_t nextFrameTime_;
};

}  // namespace tavi
