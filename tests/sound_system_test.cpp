#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>

#include "fake_platform.h"
#include "graphics/error_log.h"
#include "sound/sound_system.h"

namespace tavi {
namespace {

using Message = std::pair<std::string, std::string>;

class SoundSystemTest : public ::testing::Test {
 protected:
  test::FakePlatform platform;
  test::FakeAudio& audio = platform.audio;
  test::TempDir dir;
  ErrorLog errors{&platform};
  SoundSystem sound{platform, audio, errors};
};

TEST_F(SoundSystemTest, AFailedLoadLeavesTheSlotForTheNextAndEffectsAreFoundByTheirExactName) {
  sound.Init();
  sound.PlaySoundEffect("media\\hai.wav");  // nothing loaded yet
  audio.failingNames["media\\next.wav"] = true;
  for (const char* name : {"media\\fisch.wav", "media\\fa\xDF.wav", "media\\next.wav", "media\\hai.wav"})  // faß
    sound.AddSound(name);
  EXPECT_EQ(sound.EffectCount(), 3);
  for (const char* name : {"media\\next.wav", "media\\Fisch.wav", "media/fisch.wav", "fisch.wav", "media\\fisch.wav "})
    sound.PlaySoundEffect(name);
  EXPECT_TRUE(audio.played.empty());
  const Message missing("PlaySoundEffect", "Soundeffekt nicht vorhanden");
  EXPECT_EQ(platform.messages, (std::vector<Message>{missing, {"AddSound", "Fehler beim Laden der Datei"}, missing,
                                                     missing, missing, missing, missing}));
  // Played twice in a row: two starts, the first is not cut off.
  for (const char* name : {"media\\hai.wav", "media\\fa\xDF.wav", "media\\fa\xDF.wav"}) sound.PlaySoundEffect(name);
  std::vector<std::string> played;
  for (int handle : audio.played) played.push_back(audio.loaded.at(handle));
  EXPECT_EQ(played, (std::vector<std::string>{"media\\hai.wav", "media\\fa\xDF.wav", "media\\fa\xDF.wav"}));
}

}  // namespace
}  // namespace tavi
