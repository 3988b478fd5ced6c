#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_frame.h"
#include "game_world_fixture.h"

namespace tavi {
namespace {

using test::GameWorld;

class GameFrameTest : public ::testing::Test {
 protected:
  // One game frame; `endGame` empties the groups as the real end of a game does.
  void Frame() {
    RunGameFrame(diver, world.groups, world.random, [this] {
      ++endGames;
      for (ObjectGroup* group : world.groups) group->Clear();
    });
  }
  std::string HudLine(int y, int cells) { return test::ReadFontLine(world.display.BackBuffer(), y, cells); }

  GameWorld world;
  Diver& diver = world.diver;
  int endGames = 0;
};

// The generator is stepped by hand: each kind's test in kind order, a spawning kind's own draw
// right after its test, and nothing else in the frame; each new object is its kind's start record.
TEST_F(GameFrameTest, RandomDrawsInKindOrderSpawnEveryKindsStartRecord) {
  world.random.Seed(20240601);
  Random reference;
  reference.Seed(20240601);
  diver.x = 10;
  diver.y = 20;
  const int divisors[ObjectKindCount] = {120, 180, 180, 1200, 300, 600, 480};
  int spawnsOf[ObjectKindCount] = {};
  for (int frame = 0; frame < 30000; ++frame) {
    std::vector<int> expected[ObjectKindCount];
    for (int k = 0; k < ObjectKindCount; ++k) {
      if (reference.Next() % divisors[k] != 1) continue;
      ++spawnsOf[k];
      switch (static_cast<ObjectKind>(k + 1)) {
        case ObjectKind::Fish: expected[k] = {1024, reference.Next() % 600, 4, 0, 45, 24}; break;
        case ObjectKind::Plant: expected[k] = {1024, 556, 2, 0, 32, 128}; break;
        case ObjectKind::PoisonBarrel: expected[k] = {1024, reference.Next() % 581, 2, 0, 59, 91}; break;
        case ObjectKind::Shark: expected[k] = {1024, 100 + reference.Next() % 500, 5, 0, 315, 118}; break;
        case ObjectKind::Bubbles: expected[k] = {169, 20, 2, -1, 18, 18}; break;  // at the diver's net
        case ObjectKind::Stone: expected[k] = {1024, 625, 2, 0, 68, 63}; break;
        case ObjectKind::Barrel: expected[k] = {512 + reference.Next() % 512, -78, 2, 2, 92, 78}; break;
      }
    }
    Frame();
    ASSERT_EQ(world.random.State(), reference.State()) << "frame " << frame;
    for (int k = 0; k < ObjectKindCount; ++k) {
      std::vector<int> got;
      for (const ObjectInstance& o : world.groups[k]->Instances()) {
        got = {o.x, o.y, o.speedX, o.speedY, o.width, o.height};
        EXPECT_EQ(o.kind, static_cast<ObjectKind>(k + 1));
        EXPECT_EQ(o.diver, &diver);
      }
      ASSERT_EQ(world.groups[k]->Instances().size(), expected[k].empty() ? 0u : 1u) << "frame " << frame;
      ASSERT_EQ(got, expected[k]) << "frame " << frame << " kind " << k + 1;
      world.groups[k]->Clear();
    }
  }
  for (int k = 0; k < ObjectKindCount; ++k) EXPECT_GT(spawnsOf[k], 10) << "kind " << k + 1;
  EXPECT_EQ(endGames, 0);
}

TEST_F(GameFrameTest, GroupsUpdateInKindOrderAndTheLastFrameIsDrawnToItsEnd) {
  diver.x = 100;
  diver.y = 600;
  world.Hold({Dik::Space});
  world.Put(ObjectKind::Fish, 254, 620);          // caught by the net before the lift
  world.Put(ObjectKind::PoisonBarrel, 152, 600);  // touches the diver only before the lift
  world.Put(ObjectKind::Shark, 205, 555);
  world.Put(ObjectKind::Stone, 152, 625);         // lifts the diver to 537
  world.Put(ObjectKind::Barrel, 150, 470);        // touches the diver only after the lift
  Frame();
  EXPECT_EQ(world.Played(), (std::vector<std::string>{test::FishSound, test::BarrelSound, test::SharkSound,
                                                      test::StoneSound, test::BarrelSound}));
  EXPECT_EQ(diver.GetScore(), 1);
  EXPECT_EQ(diver.lives, 0);
  EXPECT_EQ(diver.eatenCountdown, 45);
  EXPECT_EQ(endGames, 1);
  // Drawn after the end: the diver over an empty lake, and the display.
  EXPECT_EQ(world.display.BackBuffer().At(101, 538), test::DiverColours[3]);
  EXPECT_EQ(HudLine(0, 9), "PUNKTE 1 ");
  EXPECT_EQ(HudLine(48, 9), "LEBEN  0 ");
}

TEST_F(GameFrameTest, ObjectsCoverTheDiverLaterGroupsCoverEarlierOnesAndTheDisplayCoversAll) {
  const ObjectKind topDown[ObjectKindCount] = {ObjectKind::Bubbles,      ObjectKind::Shark, ObjectKind::Barrel,
                                               ObjectKind::PoisonBarrel, ObjectKind::Stone, ObjectKind::Plant,
                                               ObjectKind::Fish};
  // All at one place (a shark at 55 is in its band for the diver at 100), a fish on the diver at
  // (50, 100) and a plant under the display.
  for (ObjectKind kind : topDown) world.Put(kind, 600, 55);
  world.Put(ObjectKind::Fish, 60, 110);
  world.Put(ObjectKind::Plant, 10, 0);
  for (ObjectGroup* group : world.groups)
    for (ObjectInstance& o : group->Instances()) o.speedX = o.speedY = 0;
  for (ObjectKind kind : topDown) {
    world.display.ClearBackBuffer();
    Frame();
    EXPECT_EQ(world.display.BackBuffer().At(605, 60), test::KindColours[static_cast<int>(kind) - 1])
        << "kind " << static_cast<int>(kind);
    if (kind == ObjectKind::Bubbles) {
      const Image& screen = world.display.BackBuffer();
      EXPECT_EQ(screen.At(65, 115), test::KindColours[0]);
      EXPECT_EQ(screen.At(200, 150), test::DiverColours[0]);
      EXPECT_EQ(screen.At(20, 100), test::KindColours[1]);
      EXPECT_EQ(HudLine(0, 8), "PUNKTE 0");
      EXPECT_EQ(HudLine(48, 8), "LEBEN  3");
    }
    world.Group(kind).Clear();
  }
  EXPECT_EQ(endGames, 0);
}

TEST_F(GameFrameTest, AnEatenDiverEndsTheGameFortyFiveFramesLater) {
  diver.Hit(HitKind::SharkHit);
  for (int frame = 1; frame < 45; ++frame) {
    Frame();
    ASSERT_EQ(endGames, 0) << frame;
  }
  Frame();
  EXPECT_EQ(endGames, 1);
}

}  // namespace
}  // namespace tavi
