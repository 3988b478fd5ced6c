// The random seed comes from the tick count, which must be the time since the machine started
// (as the original's was): SDL's own ticks start with the program, so every first game would
// begin from one narrow band of seeds.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#include "platform/platform.h"
#include "platform/precise_sleep.h"

namespace tavi {
namespace {

TEST(PlatformClock, TickCountIsTheTimeSinceBoot) {
  for (bool headless : {true, false}) {
    PlatformOptions options;
    options.headless = headless;
    options.sound = false;
    auto platform = CreatePlatform(options);
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    ASSERT_GT(uptime, 0);
    const std::uint32_t first = platform->TickCount();
    const std::uint32_t second = platform->TickCount();
    EXPECT_NEAR(static_cast<double>(first), uptime * 1000, 5000) << "headless " << headless;
    EXPECT_LE(second - first, 1000u);
  }
}

// A late wake-up makes a late frame, which is never made up: the next waits wake early enough for
// it. Spinning costs CPU, so the margin is bounded and falls back once wake-ups are quick again.
TEST(PlatformClock, WakeMarginCoversRecentLateWakeUpsAndFallsBack) {
  WakeMargin margin;
  EXPECT_EQ(margin.Nanoseconds(), WakeMargin::FloorNanoseconds);
  margin.Observe(600000);
  EXPECT_GT(margin.Nanoseconds(), 600000);
  margin.Observe(100000);
  EXPECT_GT(margin.Nanoseconds(), 550000) << "one quick wake-up must not drop the margin";
  margin.Observe(5000000);
  EXPECT_EQ(margin.Nanoseconds(), WakeMargin::CeilingNanoseconds);
  for (int wait = 0; wait < 120; ++wait) margin.Observe(20000);
  EXPECT_GE(margin.Nanoseconds(), WakeMargin::FloorNanoseconds);
  EXPECT_LT(margin.Nanoseconds(), WakeMargin::FloorNanoseconds + 20000);
}

}  // namespace
}  // namespace tavi
