#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/error_log.h"
#include "fake_platform.h"
#include "sound/sound_system.h"

namespace tavi {
namespace {

// An effect that cannot be loaded is reported by name once (each in the log, one box for all)
// and then plays as silence, however often it is played; a name never added still gets its box.
TEST(SoundEffects, AFailedLoadIsReportedOnceByNameAndThenSilent) {
  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  SoundSystem sound{platform, platform.audio, errors};
  platform.audio.failingNames = {{"media\\welle.wav", true}, {"media\\hai.wav", true}};
  sound.Init();
  for (const char* name : {"media\\welle.wav", "media\\hai.wav", "media\\wal.wav"}) sound.AddSound(name);
  for (int i = 0; i < 3; ++i) {
    for (const char* name : {"media\\welle.wav", "media\\hai.wav", "media\\wal.wav"}) sound.PlaySoundEffect(name);
  }
  sound.PlaySoundEffect("media\\unbekannt.wav");
  EXPECT_EQ(platform.audio.played, (std::vector<int>{0, 0, 0}));
  using Message = std::pair<std::string, std::string>;
  EXPECT_EQ(platform.messages, (std::vector<Message>{{"AddSound", "Fehler beim Laden der Datei: media\\welle.wav"},
                                                     {"PlaySoundEffect", "Soundeffekt nicht vorhanden"}}));
  EXPECT_EQ(test::ReadLines("Error.txt"), (std::vector<std::string>{"Fehler beim Laden der Datei: media\\welle.wav",
                                                                    "Fehler beim Laden der Datei: media\\hai.wav"}));
}

}  // namespace
}  // namespace tavi
