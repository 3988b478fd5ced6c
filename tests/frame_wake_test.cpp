#include "platform/frame_wake.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

// An animation frame at 100 ms; the next is due at 116.667 ms. Times in microseconds.
constexpr std::int64_t Frame = 100000;
constexpr std::int64_t Next = Frame + FrameWake::FrameMicroseconds;

TEST(FrameWake, SpinsThroughTheBrowsersBusyWindowsAndTimesTheRest) {
  struct Case {
    const char* what;
    std::int64_t now, deadline, animationFrame;
    bool spin;
    std::int64_t timerAt;
  };
  const Case cases[] = {
      {"between the windows: a timer one slack early", Frame + 1000, Frame + 10000, Frame, false, Frame + 9000},
      {"between the windows, 2 ms ahead: spun", Frame + 8000, Frame + 10000, Frame, true, 0},
      {"just past the short spin: a timer", Frame + 7900, Frame + 10000, Frame, false, Frame + 9000},
      {"in this frame's window: spun from it", Frame + 500, Frame + 6000, Frame, true, 0},
      {"just past that window: a timer", Frame + 500, Frame + 6001, Frame, false, Frame + 5001},
      {"before the next frame: a timer before its window", Frame + 1000, Next - 500, Frame, false, Next - 4000},
      {"that timer, fired: spun to the deadline", Next - 4000, Next - 500, Frame, true, 0},
      {"at the next frame itself: still before its window", Frame + 1000, Next, Frame, false, Next - 4000},
      {"just after the next frame: that frame spins, a timer in case it does not come",
       Frame + 1000, Next + 1000, Frame, false, Next},
      {"no animation frames (a hidden page): a timer one slack early", 5000, 15000, -1000000000, false, 14000},
  };
  for (const Case& c : cases) {
    const FrameWake wake = FrameWake::Plan(c.now, c.deadline, c.animationFrame);
    EXPECT_EQ(wake.spin, c.spin) << c.what;
    if (!c.spin) {
      EXPECT_EQ(wake.timerAt, c.timerAt) << c.what;
    }
  }
}

}  // namespace
}  // namespace tavi
