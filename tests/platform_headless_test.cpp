// The headless platform: no window, no keys, no sound, messages on standard error.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "platform/platform.h"

namespace tavi {
namespace {

PlatformOptions Headless() {
  PlatformOptions options;
  options.headless = true;
  return options;
}

TEST(HeadlessPlatform, HasNoInputOrSoundAndShowsMessagesOnStandardErrorInUtf8) {
  auto platform = CreatePlatform(Headless());
  EXPECT_TRUE(platform->CreateMainWindow());
  EXPECT_EQ(platform->InitDisplay(), DisplayInit::Ok);
  WindowEvent event;
  EXPECT_FALSE(platform->PollEvent(event));
  std::uint8_t keys[256];
  std::memset(keys, 0x80, sizeof keys);
  EXPECT_TRUE(platform->ReadKeys(keys));
  for (std::uint8_t key : keys) EXPECT_EQ(key, 0);
  EXPECT_GT(platform->CounterFrequency(), 0);
  const std::int64_t before = platform->Counter();
  platform->WaitEvent(2000);
  EXPECT_GT(platform->Counter(), before);
  platform->Present(Image(1024, 768));

  AudioDevice& audio = platform->Audio();
  std::string reason, musicReason;
  EXPECT_FALSE(audio.Open(reason));
  EXPECT_NE(reason.find("headless"), std::string::npos);
  EXPECT_EQ(audio.LoadEffect("media\\qualle.wav"), -1);
  EXPECT_FALSE(audio.LoadMusic("media\\musik.mid", musicReason));
  EXPECT_FALSE(musicReason.empty());
  audio.PlayEffect(0);  // harmless
  audio.PlayMusicForever();
  audio.Close();

  testing::internal::CaptureStderr();
  platform->ShowMessage("Fehler", "Oberfl\xE4" "che");  // "Oberfläche"
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fehler: Oberfl\xC3\xA4" "che\n");
  platform->ReleaseDisplay();
  platform->DestroyMainWindow();
}

// The seed's tick count is the time since the machine started, so every start plays differently.
TEST(PlatformClock, TickCountIsTheTimeSinceBoot) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
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
