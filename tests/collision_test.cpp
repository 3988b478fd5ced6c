#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_frame.h"
#include "game/hit_box.h"
#include "game_world_fixture.h"

namespace tavi {
namespace {

using test::GameWorld;

class CollisionTest : public ::testing::Test {
 protected:
  // The diver at (x, y), updated once with these keys (which do not move it when the net is out).
  void DiverAt(int x, int y, std::initializer_list<std::uint32_t> keys) {
    diver.x = x;
    diver.y = y;
    world.Hold(keys);
    diver.Update();
  }

  GameWorld world;
  Diver& diver = world.diver;
};

TEST_F(CollisionTest, AfterRemovingARecordThePassGoesOnAtTheSecond) {
  DiverAt(100, 100, {Dik::Space});
  world.Put(ObjectKind::Fish, 254, 120);  // at 250: caught
  world.Put(ObjectKind::Fish, 238, 120);  // at 234, caught only in the next frame, at 230
  world.fish.Update();
  EXPECT_EQ(diver.GetScore(), 1);
  ASSERT_EQ(world.fish.Instances().size(), 1u);
  EXPECT_EQ(world.fish.Instances().front().x, 234);
  world.fish.Update();
  EXPECT_EQ(diver.GetScore(), 2);
  EXPECT_TRUE(world.fish.Instances().empty());

  // Behind a first record that stays, both are caught in one frame.
  world.Put(ObjectKind::Fish, 700, 300);
  world.Put(ObjectKind::Fish, 254, 120);
  world.Put(ObjectKind::Fish, 238, 120);
  world.fish.Update();
  EXPECT_EQ(diver.GetScore(), 4);
  ASSERT_EQ(world.fish.Instances().size(), 1u);
  EXPECT_EQ(world.fish.Instances().front().x, 696);

  // The same for contact with the body: the second poison barrel waits a frame.
  DiverAt(100, 100, {});
  world.Put(ObjectKind::PoisonBarrel, 152, 100);
  world.Put(ObjectKind::PoisonBarrel, 182, 110);
  world.poisonBarrel.Update();
  EXPECT_EQ(diver.lives, 2);
  EXPECT_EQ(world.poisonBarrel.Instances().size(), 1u);
  world.poisonBarrel.Update();
  EXPECT_EQ(diver.lives, 1);
  EXPECT_TRUE(world.poisonBarrel.Instances().empty());
  EXPECT_EQ(world.Played(), (std::vector<std::string>{test::FishSound, test::FishSound, test::FishSound,
                                                      test::FishSound, test::BarrelSound, test::BarrelSound}));
}

}  // namespace
}  // namespace tavi
