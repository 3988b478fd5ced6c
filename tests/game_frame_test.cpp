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
  std::string HudLine(int y, int cells) { return test::ReadFontLine(world.display.BackBuffer(), y, cells, ColourKeyBlue); }

  GameWorld world;
  Diver& diver = world.diver;
  int endGames = 0;
};

// The generator is stepped by hand in the documented order: each kind's test, and right after a
// spawning kind's test its own draw.
TEST_F(GameFrameTest, RandomDrawsFollowTheDocumentedOrder) {
  world.random.Seed(987654321);
  Random reference;
  reference.Seed(987654321);
  const int divisors[ObjectKindCount] = {120, 180, 180, 1200, 300, 600, 480};
  const bool ownDraw[ObjectKindCount] = {true, false, true, true, false, false, true};
  int spawns = 0;
  for (int frame = 0; frame < 5000; ++frame) {
    for (int k = 0; k < ObjectKindCount; ++k) {
      if (reference.Next() % divisors[k] != 1) continue;
      ++spawns;
      if (ownDraw[k]) reference.Next();
    }
    Frame();
    ASSERT_EQ(world.random.State(), reference.State()) << "frame " << frame;
    if (diver.IsOver()) diver.Reset();
  }
  EXPECT_GT(spawns, 100);
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

TEST_F(GameFrameTest, LaterGroupsCoverEarlierOnes) {
  const ObjectKind topDown[ObjectKindCount] = {ObjectKind::Bubbles,      ObjectKind::Shark, ObjectKind::Barrel,
                                               ObjectKind::PoisonBarrel, ObjectKind::Stone, ObjectKind::Plant,
                                               ObjectKind::Fish};
  for (ObjectKind kind : topDown) {
    ObjectInstance& o = world.Put(kind, 600, 55);  // a shark at 55 is in its band for a diver at 100
    o.speedX = 0;
    o.speedY = 0;
  }
  for (ObjectKind kind : topDown) {
    world.display.ClearBackBuffer();
    Frame();
    EXPECT_EQ(world.display.BackBuffer().At(605, 60), test::KindColours[static_cast<int>(kind) - 1])
        << "kind " << static_cast<int>(kind);
    world.Group(kind).Clear();
  }
  EXPECT_EQ(endGames, 0);
}

TEST_F(GameFrameTest, ObjectsCoverTheDiverAndTheDisplayCoversAll) {
  diver.x = 0;
  diver.y = 60;
  ObjectInstance& plant = world.Put(ObjectKind::Plant, 10, 0);
  plant.speedX = 0;
  Frame();
  const Image& screen = world.display.BackBuffer();
  EXPECT_EQ(screen.At(5, 100), test::DiverColours[0]);
  EXPECT_EQ(screen.At(20, 100), test::KindColours[1]);
  EXPECT_EQ(HudLine(0, 8), "PUNKTE 0");
  EXPECT_EQ(HudLine(48, 8), "LEBEN  3");
}

TEST_F(GameFrameTest, LivesLineFollowsTheHits) {
  diver.x = 300;
  diver.y = 612;
  world.Put(ObjectKind::PoisonBarrel, 352, 560);
  Frame();
  EXPECT_EQ(HudLine(48, 8), "LEBEN  2");
  world.display.ClearBackBuffer();
  world.Put(ObjectKind::Stone, 352, 625);
  Frame();
  EXPECT_EQ(HudLine(48, 8), "LEBEN  1");
  EXPECT_EQ(diver.GetY(), 549);
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
