#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>

#include "base/error_log.h"
#include "fake_platform.h"
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

TEST_F(SoundSystemTest, TenEffectsAtMostAndTheLowerSlotWinsForTheSameName) {
  sound.Init();
  sound.AddSound("media\\effekt0.wav");
  for (int i = 0; i < 10; ++i) sound.AddSound("media\\effekt" + std::to_string(i) + ".wav");
  EXPECT_EQ(sound.EffectCount(), 10);
  EXPECT_EQ(platform.messages, (std::vector<Message>{{"AddSound", "Maximale Anzahl an Sounds erreicht"}}));
  EXPECT_EQ(audio.loaded.size(), 10u);  // the eleventh file is not even loaded
  sound.PlaySoundEffect("media\\effekt8.wav");
  sound.PlaySoundEffect("media\\effekt0.wav");
  EXPECT_EQ(audio.played, (std::vector<int>{9, 0}));
}

TEST_F(SoundSystemTest, AFailedLoadLeavesTheSlotForTheNextAndEffectsAreFoundByTheirExactName) {
  sound.Init();
  sound.PlaySoundEffect("media\\wal.wav");  // nothing loaded yet
  audio.failingNames["media\\welle.wav"] = true;
  audio.failingNames["media\\hai.wav"] = true;
  for (const char* name : {"media\\qualle.wav", "media\\m\xF6we.wav", "media\\welle.wav", "media\\hai.wav", "media\\wal.wav"})  // möwe
    sound.AddSound(name);
  EXPECT_EQ(sound.EffectCount(), 3);
  // An effect that failed to load was reported then (one box for all, each in Error.txt) and
  // plays as silence; a name never added still gets its box.
  for (const char* name : {"media\\welle.wav", "media\\hai.wav", "media\\Qualle.wav", "media/qualle.wav", "qualle.wav",
                           "media\\qualle.wav ", "media\\welle.wav"})
    sound.PlaySoundEffect(name);
  EXPECT_TRUE(audio.played.empty());
  const Message missing("PlaySoundEffect", "Soundeffekt nicht vorhanden");
  EXPECT_EQ(platform.messages, (std::vector<Message>{missing, {"AddSound", "Fehler beim Laden der Datei: media\\welle.wav"},
                                                     missing, missing, missing, missing}));
  EXPECT_EQ(test::ReadLines("Error.txt"), (std::vector<std::string>{"Fehler beim Laden der Datei: media\\welle.wav",
                                                                    "Fehler beim Laden der Datei: media\\hai.wav"}));
  // Played twice in a row: two starts, the first is not cut off.
  for (const char* name : {"media\\wal.wav", "media\\m\xF6we.wav", "media\\m\xF6we.wav"}) sound.PlaySoundEffect(name);
  std::vector<std::string> played;
  for (int handle : audio.played) played.push_back(audio.loaded.at(handle));
  EXPECT_EQ(played, (std::vector<std::string>{"media\\wal.wav", "media\\m\xF6we.wav", "media\\m\xF6we.wav"}));
}

TEST_F(SoundSystemTest, MusicRepeatsOnceStartedAndAMissingOrUnplayableFileIsReported) {
  sound.Init();
  sound.AddBackgroundMusic("media\\musik.mid");
  sound.PlayBackgroundMusic();
  EXPECT_EQ(audio.music, "media\\musik.mid");
  EXPECT_EQ(audio.musicStarts, 1);
  EXPECT_TRUE(platform.messages.empty());

  audio.musicLoads = false;
  sound.AddBackgroundMusic("media\\gibt_es_nicht_4711.mid");
  sound.PlayBackgroundMusic();
  EXPECT_EQ(platform.messages, (std::vector<Message>{{"AddBackgroundMusic", "Fehler beim Laden der Datei: media\\gibt_es_nicht_4711.mid"}}));
  EXPECT_TRUE(test::ReadLines("Error.txt").empty());

  // There but not playable (as with no soundfont): only logged, with the device's reason.
  ASSERT_EQ(mkdir("media", 0755), 0);
  std::ofstream("media/lied.mid") << "MThd";
  sound.AddBackgroundMusic("media\\lied.mid");
  sound.PlayBackgroundMusic();
  EXPECT_EQ(audio.musicStarts, 1);
  EXPECT_EQ(platform.messages.size(), 1u);
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("media\\lied.mid"), std::string::npos);
  EXPECT_NE(lines[0].find("cannot load"), std::string::npos);
}

TEST_F(SoundSystemTest, NoDeviceMeansSilenceReportedOnce) {
  audio.openSucceeds = false;
  sound.Init();
  EXPECT_TRUE(sound.Silent());
  for (int frame = 0; frame < 12; ++frame) {
    sound.AddSound("media\\qualle.wav");
    sound.PlaySoundEffect("media\\qualle.wav");
    sound.PlaySoundEffect("media\\unbekannt.wav");
  }
  sound.AddBackgroundMusic("media\\musik.mid");
  sound.PlayBackgroundMusic();

  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(audio.loaded.empty() && audio.music.empty() && audio.played.empty());
  EXPECT_EQ(audio.musicStarts, 0);
  const std::vector<std::string> silent = {"Das Spiel l\xE4uft ohne Ton: no device"};  // läuft
  EXPECT_EQ(test::ReadLines("Error.txt"), silent);
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
