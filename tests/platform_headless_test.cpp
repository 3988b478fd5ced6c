// The headless platform: no window, no keys, no sound, messages on standard error.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"

namespace tavi {
namespace {

TEST(HeadlessPlatform, HasNoInputOrSoundAndShowsMessagesOnStandardErrorInUtf8) {
  auto platform = CreatePlatform({false, true, true});
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

}  // namespace
}  // namespace tavi
