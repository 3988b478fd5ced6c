// Collisions of the diver with a group's records: a record removed in the pass does not make the
// pass skip the one behind it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error_log.h"
#include "base/media_manifest.h"
#include "fake_platform.h"
#include "game/diver.h"
#include "game/object_group.h"
#include "game/random.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "input/keyboard.h"
#include "sound/sound_system.h"

namespace tavi {
namespace {

// The diver, the fish and the poison barrels over the fake platform, with plain sheets.
class CollisionTest : public ::testing::Test {
 protected:
  CollisionTest() {
    for (const media::Picture* sheet : media::DiverSheets)
      platform.pictures[sheet->file] = Image(sheet->width, sheet->height, 0x102030);
    for (const media::Picture* sheet : media::ObjectSheets)
      platform.pictures[sheet->file] = Image(sheet->width, sheet->height, 0xA00001);
    keyboard.Init(&platform, errors);
    sound.Init();
    for (const media::Sound* s : {&media::FishSound, &media::BarrelSound}) sound.AddSound(s->file);
    diver.Init(display);
    fish.Init(display, ObjectKind::Fish, diver);
    barrels.Init(display, ObjectKind::PoisonBarrel, diver);
  }
  // The diver at (x, y), updated once with these keys (which do not move it when the net is out).
  void DiverAt(int x, int y, std::initializer_list<std::uint32_t> keys) {
    diver.x = x;
    diver.y = y;
    KeySnapshot snapshot;
    for (std::uint32_t key : keys) snapshot.state[key] = 0x80;
    keyboard.SetKeys(snapshot);
    diver.Update();
  }
  void Put(ObjectGroup& group, int x, int y) {
    group.Spawn();
    group.Instances().back().x = x;
    group.Instances().back().y = y;
  }

  test::FakePlatform platform;
  test::TempDir dir;  // Error.txt lands here
  ErrorLog errors{&platform};
  Display display{platform, errors};
  Keyboard keyboard;
  SoundSystem sound{platform, platform.audio, errors};
  BitmapFont font{display};
  Random random;
  Diver diver{keyboard, sound, font};
  ObjectGroup fish{random, sound}, barrels{random, sound};
};

TEST_F(CollisionTest, AfterRemovingARecordThePassGoesOnAtTheSecond) {
  DiverAt(100, 100, {Dik::Space});
  Put(fish, 254, 120);  // at 250: caught
  Put(fish, 238, 120);  // at 234, caught only in the next frame, at 230
  fish.Update();
  EXPECT_EQ(diver.GetScore(), 1);
  ASSERT_EQ(fish.Instances().size(), 1u);
  EXPECT_EQ(fish.Instances().front().x, 234);
  fish.Update();
  EXPECT_EQ(diver.GetScore(), 2);
  EXPECT_TRUE(fish.Instances().empty());

  // Behind a first record that stays, both are caught in one frame.
  Put(fish, 700, 300);
  Put(fish, 254, 120);
  Put(fish, 238, 120);
  fish.Update();
  EXPECT_EQ(diver.GetScore(), 4);
  ASSERT_EQ(fish.Instances().size(), 1u);
  EXPECT_EQ(fish.Instances().front().x, 696);

  // The same for contact with the body: the second poison barrel waits a frame.
  DiverAt(100, 100, {});
  Put(barrels, 152, 100);
  Put(barrels, 182, 110);
  barrels.Update();
  EXPECT_EQ(diver.lives, 2);
  EXPECT_EQ(barrels.Instances().size(), 1u);
  barrels.Update();
  EXPECT_EQ(diver.lives, 1);
  EXPECT_TRUE(barrels.Instances().empty());
  std::vector<std::string> played;
  for (int handle : platform.audio.played) played.push_back(platform.audio.loaded.at(handle));
  const std::string f = media::FishSound.file, b = media::BarrelSound.file;
  EXPECT_EQ(played, (std::vector<std::string>{f, f, f, f, b, b}));
}

}  // namespace
}  // namespace tavi
