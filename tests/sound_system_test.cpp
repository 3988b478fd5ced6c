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

TEST_F(SoundSystemTest, TenEffectsAtMost) {
  sound.Init();
  for (int i = 0; i < 11; ++i) sound.AddSound("media\\effekt" + std::to_string(i) + ".wav");
  EXPECT_EQ(sound.EffectCount(), 10);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], Message("AddSound", "Maximale Anzahl an Sounds erreicht"));
  EXPECT_EQ(audio.loaded.size(), 10u);  // the eleventh file is not even loaded
  sound.PlaySoundEffect("media\\effekt9.wav");
  sound.PlaySoundEffect("media\\effekt0.wav");
  EXPECT_EQ(audio.played, (std::vector<int>{9, 0}));
}

TEST_F(SoundSystemTest, FailedLoadLeavesTheSlotForTheNext) {
  sound.Init();
  audio.failingNames["media\\next.wav"] = true;
  for (const char* name : {"media\\fisch.wav", "media\\fa\xDF.wav", "media\\next.wav",  // faß
                           "media\\stein.wav", "media\\hai.wav"})
    sound.AddSound(name);
  EXPECT_EQ(sound.EffectCount(), 4);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], Message("AddSound", "Fehler beim Laden der Datei"));

  sound.PlaySoundEffect("media\\hai.wav");
  sound.PlaySoundEffect("media\\fa\xDF.wav");
  ASSERT_EQ(audio.played.size(), 2u);
  EXPECT_EQ(audio.loaded[audio.played[0]], "media\\hai.wav");
  EXPECT_EQ(audio.loaded[audio.played[1]], "media\\fa\xDF.wav");
  sound.PlaySoundEffect("media\\next.wav");
  EXPECT_EQ(platform.messages.back(), Message("PlaySoundEffect", "Soundeffekt nicht vorhanden"));
}

TEST_F(SoundSystemTest, EffectsAreFoundByTheirExactName) {
  sound.Init();
  sound.PlaySoundEffect("media\\fisch.wav");  // nothing loaded yet
  sound.AddSound("media\\fisch.wav");
  for (const char* near : {"media\\Fisch.wav", "media/fisch.wav", "fisch.wav", "media\\fisch.wav "})
    sound.PlaySoundEffect(near);
  EXPECT_TRUE(audio.played.empty());
  ASSERT_EQ(platform.messages.size(), 5u);
  for (const Message& m : platform.messages)
    EXPECT_EQ(m, Message("PlaySoundEffect", "Soundeffekt nicht vorhanden"));

  // Played twice in a row: two starts, the first is not cut off.
  sound.PlaySoundEffect("media\\fisch.wav");
  sound.PlaySoundEffect("media\\fisch.wav");
  EXPECT_EQ(audio.played, (std::vector<int>{0, 0}));
}

TEST_F(SoundSystemTest, LowerSlotWinsForTheSameName) {
  sound.Init();
  sound.AddSound("media\\stein.wav");
  sound.AddSound("media\\hai.wav");
  sound.AddSound("media\\stein.wav");
  sound.PlaySoundEffect("media\\stein.wav");
  EXPECT_EQ(audio.played, (std::vector<int>{0}));
}

TEST_F(SoundSystemTest, MusicRepeatsOnceStarted) {
  sound.Init();
  sound.AddBackgroundMusic("media\\background.mid");
  sound.PlayBackgroundMusic();
  EXPECT_EQ(audio.music, "media\\background.mid");
  EXPECT_EQ(audio.musicStarts, 1);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SoundSystemTest, MissingMusicFileShowsABoxAndPlaysNothing) {
  sound.Init();
  audio.musicLoads = false;
  sound.AddBackgroundMusic("media\\gibt_es_nicht_4711.mid");
  sound.PlayBackgroundMusic();
  EXPECT_EQ(audio.musicStarts, 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], Message("AddBackgroundMusic", "Fehler beim Laden der Datei"));
  EXPECT_TRUE(test::ReadLines("Error.txt").empty());
}

TEST_F(SoundSystemTest, MusicThatCannotBeSynthesisedIsOnlyLogged) {
  ASSERT_EQ(mkdir("media", 0755), 0);
  std::ofstream("media/lied.mid") << "MThd";
  sound.Init();
  audio.musicLoads = false;  // as with no soundfont
  sound.AddBackgroundMusic("media\\lied.mid");
  sound.PlayBackgroundMusic();
  EXPECT_EQ(audio.musicStarts, 0);
  EXPECT_TRUE(platform.messages.empty());
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("media\\lied.mid"), std::string::npos);
  EXPECT_NE(lines[0].find("cannot load"), std::string::npos);  // the device's reason
}

TEST_F(SoundSystemTest, NoDeviceMeansSilenceReportedOnce) {
  audio.openSucceeds = false;
  sound.Init();
  EXPECT_TRUE(sound.Silent());
  for (int frame = 0; frame < 12; ++frame) {
    sound.AddSound("media\\fisch.wav");
    sound.PlaySoundEffect("media\\fisch.wav");
    sound.PlaySoundEffect("media\\unbekannt.wav");
  }
  sound.AddBackgroundMusic("media\\background.mid");
  sound.PlayBackgroundMusic();

  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(audio.loaded.empty());
  EXPECT_TRUE(audio.music.empty());
  EXPECT_TRUE(audio.played.empty());
  EXPECT_EQ(audio.musicStarts, 0);
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Das Spiel l\xE4uft ohne Ton: no device");  // läuft
}

TEST(SoundSystemLifetime, DestructorClosesAnOpenDeviceOnly) {
  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  { SoundSystem sound{platform, platform.audio, errors}; }
  EXPECT_FALSE(platform.audio.closed);  // never opened
  {
    SoundSystem sound{platform, platform.audio, errors};
    sound.Init();
    EXPECT_FALSE(sound.Silent());
  }
  EXPECT_TRUE(platform.audio.closed);
}

}  // namespace
}  // namespace tavi
