// The random seed comes from the tick count, which must be the time since the machine started
// (as the original's was): SDL's own ticks start with the program, so every first game would
// begin from one narrow band of seeds.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#include "platform/platform.h"

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

}  // namespace
}  // namespace tavi
