#include <gtest/gtest.h>

#include "app/pacing.h"

namespace tavi {
namespace {

// A counter of 6000 ticks per second: 100 ticks a frame.
TEST(FramePacer, StartsOnlyStrictlyAfterTheDeadline) {
  FramePacer pacer(6000, 1000);
  EXPECT_EQ(pacer.FrameTicks(), 100);
  EXPECT_FALSE(pacer.Due(1099));
  EXPECT_FALSE(pacer.Due(1100));  // equal to the deadline: no frame yet
  EXPECT_TRUE(pacer.Due(1101));
}

TEST(FramePacer, LateFrameShiftsLaterDeadlinesAndNothingIsMadeUp) {
  FramePacer pacer(6000, 0);
  // The frame due after 100 starts late, at 350: the next deadline is 450, not 200.
  ASSERT_TRUE(pacer.Due(350));
  pacer.FrameStarted(350);
  EXPECT_EQ(pacer.NextFrameTime(), 450);
  EXPECT_FALSE(pacer.Due(449));
  // No burst of frames to catch up: right after the late frame nothing is due.
  EXPECT_FALSE(pacer.Due(351));
  EXPECT_TRUE(pacer.Due(451));
}

TEST(FramePacer, WaitsUntilTheDeadlineAndNotBeyond) {
  FramePacer pacer(1000000, 0);  // microsecond counter: 16666 ticks a frame
  EXPECT_EQ(pacer.WaitMicroseconds(0), 16666);
  EXPECT_EQ(pacer.WaitMicroseconds(16000), 666);
  EXPECT_EQ(pacer.WaitMicroseconds(16666), 0);
  EXPECT_EQ(pacer.WaitMicroseconds(20000), 0);
}

}  // namespace
}  // namespace tavi
