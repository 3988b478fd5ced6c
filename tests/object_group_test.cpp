#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_world_fixture.h"

namespace tavi {
namespace {

using test::GameWorld;

std::vector<int> Fields(const ObjectInstance& o) {
  return {o.x, o.y, o.speedX, o.speedY, static_cast<int>(o.kind), o.width, o.height};
}

class ObjectGroupTest : public ::testing::Test {
 protected:
  GameWorld world;
  Diver& diver = world.diver;
};

TEST_F(ObjectGroupTest, InitLoadsEachKindsSheetWithItsGridAndKey) {
  {
    GameWorld bare(false);
    const auto lines = test::ReadLines("Error.txt");
    const std::vector<std::string> expected = {
        "media\\regenbogenfisch.bmp", "media\\pflanze.bmp", "media\\giftfa\xDF.bmp", "media\\hai.bmp",
        "media\\blasen.bmp",          "media\\stein.bmp",   "media\\fa\xDF.bmp"};
    ASSERT_GE(lines.size(), 11u);
    for (int i = 0; i < ObjectKindCount; ++i)
      EXPECT_EQ(lines[4 + i], "Fehler beim Laden, Animation " + expected[i]);
  }
  const int frames[ObjectKindCount][2] = {{45, 24}, {32, 128}, {59, 91}, {315, 118}, {18, 18}, {68, 63}, {92, 78}};
  for (int i = 0; i < ObjectKindCount; ++i) {
    ObjectGroup& group = *world.groups[i];
    EXPECT_EQ(group.Kind(), static_cast<ObjectKind>(i + 1));
    EXPECT_EQ(group.GetAnimation().FrameWidth(), frames[i][0]) << i;
    EXPECT_EQ(group.GetAnimation().FrameHeight(), frames[i][1]) << i;
    EXPECT_EQ(group.GetAnimation().PlaysLeft(), -1);
  }

  // Plants are keyed on black, fish on blue: both sheets hold black and blue pixels.
  Image twoTone(64, 128, 0x000000);
  for (int y = 0; y < 128; ++y) twoTone.Set(1, y, ColourKeyBlue);
  world.platform.pictures["media\\pflanze.bmp"] = twoTone;
  world.platform.pictures["media\\regenbogenfisch.bmp"] = Image(45, 72, 0x000000);
  world.plant.Init(world.display, ObjectKind::Plant, diver);
  world.fish.Init(world.display, ObjectKind::Fish, diver);
  world.display.BackBuffer().Fill(0x777777);
  world.Put(ObjectKind::Plant, 100, 100);
  world.Put(ObjectKind::Fish, 300, 100);
  world.plant.Draw();
  world.fish.Draw();
  const Image& screen = world.display.BackBuffer();
  EXPECT_EQ(screen.At(100, 110), 0x777777u);
  EXPECT_EQ(screen.At(101, 110), ColourKeyBlue);
  EXPECT_EQ(screen.At(300, 110), 0x000000u);
}

TEST_F(ObjectGroupTest, SpawnBuildsEachKindsStartRecord) {
  world.random.Seed(4711);
  Random reference;
  reference.Seed(4711);
  diver.x = 300;
  diver.y = 222;
  auto spawned = [&](ObjectKind kind) {
    ObjectGroup& group = world.Group(kind);
    group.Spawn();
    EXPECT_EQ(group.Instances().back().diver, &diver);
    return Fields(group.Instances().back());
  };
  int r = reference.Next();
  EXPECT_EQ(spawned(ObjectKind::Fish), (std::vector<int>{1024, r % 600, 4, 0, 1, 45, 24}));
  EXPECT_EQ(spawned(ObjectKind::Plant), (std::vector<int>{1024, 556, 2, 0, 2, 32, 128}));
  r = reference.Next();
  EXPECT_EQ(spawned(ObjectKind::PoisonBarrel), (std::vector<int>{1024, r % 581, 2, 0, 3, 59, 91}));
  r = reference.Next();
  EXPECT_EQ(spawned(ObjectKind::Shark), (std::vector<int>{1024, 100 + r % 500, 5, 0, 4, 315, 118}));
  EXPECT_EQ(spawned(ObjectKind::Bubbles), (std::vector<int>{459, 222, 2, -1, 5, 18, 18}));
  EXPECT_EQ(spawned(ObjectKind::Stone), (std::vector<int>{1024, 625, 2, 0, 6, 68, 63}));
  r = reference.Next();
  EXPECT_EQ(spawned(ObjectKind::Barrel), (std::vector<int>{512 + r % 512, -78, 2, 2, 7, 92, 78}));
  EXPECT_EQ(world.random.State(), reference.State());

  // New records go to the end of the list.
  r = reference.Next();
  world.fish.Spawn();
  ASSERT_EQ(world.fish.Instances().size(), 2u);
  EXPECT_EQ(world.fish.Instances().back().y, r % 600);
}

// Over many frames every kind spawns, each with r mod N == 1, and the spawns' own draws come
// between the tests in kind order.
TEST_F(ObjectGroupTest, SpawnStepDrawsInKindOrderWithSpawnDrawsBetween) {
  world.random.Seed(20240601);
  Random reference;
  reference.Seed(20240601);
  diver.x = 10;
  diver.y = 20;
  const int divisors[ObjectKindCount] = {120, 180, 180, 1200, 300, 600, 480};
  int spawnsOf[ObjectKindCount] = {};
  for (int frame = 0; frame < 60000; ++frame) {
    std::vector<std::vector<int>> expected[ObjectKindCount];
    for (int k = 0; k < ObjectKindCount; ++k) {
      const int r = reference.Next();
      if (r % divisors[k] != 1) continue;
      ++spawnsOf[k];
      switch (static_cast<ObjectKind>(k + 1)) {
        case ObjectKind::Fish: expected[k].push_back({1024, reference.Next() % 600, 4, 0, 1, 45, 24}); break;
        case ObjectKind::Plant: expected[k].push_back({1024, 556, 2, 0, 2, 32, 128}); break;
        case ObjectKind::PoisonBarrel: expected[k].push_back({1024, reference.Next() % 581, 2, 0, 3, 59, 91}); break;
        case ObjectKind::Shark: expected[k].push_back({1024, 100 + reference.Next() % 500, 5, 0, 4, 315, 118}); break;
        case ObjectKind::Bubbles: expected[k].push_back({169, 20, 2, -1, 5, 18, 18}); break;
        case ObjectKind::Stone: expected[k].push_back({1024, 625, 2, 0, 6, 68, 63}); break;
        case ObjectKind::Barrel: expected[k].push_back({512 + reference.Next() % 512, -78, 2, 2, 7, 92, 78}); break;
      }
    }
    SpawnStep(world.random, world.groups);
    ASSERT_EQ(world.random.State(), reference.State()) << "frame " << frame;
    for (int k = 0; k < ObjectKindCount; ++k) {
      std::vector<std::vector<int>> got;
      for (const ObjectInstance& o : world.groups[k]->Instances()) got.push_back(Fields(o));
      ASSERT_EQ(got, expected[k]) << "frame " << frame << " kind " << k + 1;
      world.groups[k]->Clear();
    }
  }
  for (int k = 0; k < ObjectKindCount; ++k) EXPECT_GT(spawnsOf[k], 10) << "kind " << k + 1;
}

TEST_F(ObjectGroupTest, MovementOfAFreshFish) {
  world.random.Seed(1);
  world.fish.Spawn();
  world.fish.Draw();  // at x 1024: wholly clipped, nothing reported
  EXPECT_TRUE(test::ReadLines("Error.txt").empty());
  world.fish.Update();
  EXPECT_EQ(world.fish.Instances().front().x, 1020);
}

TEST_F(ObjectGroupTest, SharkSteersIntoItsBandAboveTheDiver) {
  ObjectInstance& high = world.Put(ObjectKind::Shark, 900, 60);  // diver at y 100: band 53..57
  std::vector<int> ys, speeds;
  for (int frame = 0; frame < 4; ++frame) {
    world.shark.Update();
    ys.push_back(high.y);
    speeds.push_back(high.speedY);
  }
  EXPECT_EQ(ys, (std::vector<int>{58, 56, 56, 56}));
  EXPECT_EQ(speeds, (std::vector<int>{-2, -2, 0, 0}));
  EXPECT_EQ(high.x, 880);

  world.shark.Clear();
  ObjectInstance& low = world.Put(ObjectKind::Shark, 900, 40);
  ys.clear();
  for (int frame = 0; frame < 9; ++frame) {
    world.shark.Update();
    ys.push_back(low.y);
  }
  EXPECT_EQ(ys, (std::vector<int>{42, 44, 46, 48, 50, 52, 54, 54, 54}));
  diver.y = 200;  // it follows the diver down
  world.shark.Update();
  EXPECT_EQ(low.y, 56);
  EXPECT_EQ(low.speedY, 2);
}

TEST_F(ObjectGroupTest, SinkingBarrelThudsTwiceAndRestsAt632) {
  ObjectInstance& barrel = world.Put(ObjectKind::Barrel, 1000, -78);
  std::vector<int> thudFrames;
  for (int frame = 0; frame < 420; ++frame) {
    const std::size_t before = world.platform.audio.played.size();
    world.barrel.Update();
    ASSERT_EQ(world.barrel.Instances().size(), 1u) << frame;  // never taken by the top edge
    if (world.platform.audio.played.size() > before) thudFrames.push_back(frame);
  }
  ASSERT_EQ(thudFrames.size(), 2u);
  EXPECT_EQ(thudFrames[1], thudFrames[0] + 1);
  EXPECT_EQ(world.Played(), (std::vector<std::string>{test::StoneSound, test::StoneSound}));
  EXPECT_EQ(barrel.y, 632);
  EXPECT_EQ(barrel.speedY, 0);
  EXPECT_EQ(barrel.x, 160);
}

TEST_F(ObjectGroupTest, LeaveRules) {
  world.Put(ObjectKind::Fish, -40, 300);
  world.fish.Update();
  ASSERT_EQ(world.fish.Instances().size(), 1u);  // at -44 one column is still on screen
  EXPECT_EQ(world.fish.Instances().front().x, -44);
  world.fish.Update();
  EXPECT_TRUE(world.fish.Instances().empty());

  world.Put(ObjectKind::Bubbles, 500, -16);
  world.bubbles.Update();
  ASSERT_EQ(world.bubbles.Instances().size(), 1u);
  EXPECT_EQ(world.bubbles.Instances().front().y, -17);
  world.bubbles.Update();
  EXPECT_TRUE(world.bubbles.Instances().empty());

  world.Put(ObjectKind::Shark, -310, 300);
  world.shark.Update();
  EXPECT_TRUE(world.shark.Instances().empty());
  world.Put(ObjectKind::Fish, 500, -23);  // the top edge counts for fish too
  world.Put(ObjectKind::Fish, 600, -24);
  world.fish.Update();
  ASSERT_EQ(world.fish.Instances().size(), 1u);
  EXPECT_EQ(world.fish.Instances().front().x, 496);

  ObjectInstance& high = world.Put(ObjectKind::Barrel, 800, -300);
  high.speedY = 0;
  for (int frame = 0; frame < 5; ++frame) world.barrel.Update();
  ASSERT_EQ(world.barrel.Instances().size(), 1u);
  world.Put(ObjectKind::Barrel, 1, 300);
  world.barrel.Update();  // at -1: still on screen
  EXPECT_EQ(world.barrel.Instances().size(), 2u);
  world.barrel.Instances().back().x = -90;
  world.barrel.Update();  // -92 + 92 = 0: gone
  EXPECT_EQ(world.barrel.Instances().size(), 1u);
}

// Diver netting at (100, 100): its net box is (217, 115, 259, 145).
class FishCatchTest : public ObjectGroupTest {
 protected:
  FishCatchTest() {
    diver.x = 100;
    diver.y = 100;
    world.Hold({Dik::Space});
    diver.Update();
  }
};

TEST_F(FishCatchTest, AfterRemovingTheFirstRecordTheNextWaitsAFrame) {
  world.Put(ObjectKind::Fish, 254, 120);  // at 250: touching
  world.Put(ObjectKind::Fish, 238, 120);  // at 234 and then 230: touching
  world.fish.Update();
  EXPECT_EQ(diver.GetScore(), 1);
  ASSERT_EQ(world.fish.Instances().size(), 1u);
  EXPECT_EQ(world.fish.Instances().front().x, 234);
  world.fish.Update();
  EXPECT_EQ(diver.GetScore(), 2);
  EXPECT_TRUE(world.fish.Instances().empty());
  EXPECT_EQ(world.Played(), (std::vector<std::string>{test::FishSound, test::FishSound}));
}

TEST_F(FishCatchTest, AfterRemovingALaterRecordThePassGoesOnAtTheSecond) {
  world.Put(ObjectKind::Fish, 700, 300);  // stays
  world.Put(ObjectKind::Fish, 254, 120);
  world.Put(ObjectKind::Fish, 238, 120);
  world.fish.Update();
  EXPECT_EQ(diver.GetScore(), 2);
  ASSERT_EQ(world.fish.Instances().size(), 1u);
  EXPECT_EQ(world.fish.Instances().front().x, 696);
}

TEST_F(ObjectGroupTest, DrawShowsEveryInstanceWithOneFrameAndStepsOnce) {
  ObjectGroup& fish = world.fish;  // delay 5, three rows
  for (int i = 0; i < 5; ++i) fish.Draw();
  EXPECT_EQ(fish.GetAnimation().Row(), 0);
  fish.Draw();  // an empty group still steps
  EXPECT_EQ(fish.GetAnimation().Row(), 1);

  world.Put(ObjectKind::Fish, 100, 200);
  world.Put(ObjectKind::Fish, 400, 300);
  for (int i = 0; i < 6; ++i) fish.Draw();
  EXPECT_EQ(fish.GetAnimation().Row(), 2);  // one step per Draw, not one per instance
  const Image& screen = world.display.BackBuffer();
  EXPECT_EQ(screen.At(100, 200), test::KindColours[0]);
  EXPECT_EQ(screen.At(444, 323), test::KindColours[0]);
  EXPECT_EQ(screen.At(445, 323), ColourKeyBlue);

  fish.Clear();
  EXPECT_TRUE(fish.Instances().empty());
  world.display.ClearBackBuffer();
  for (int i = 0; i < 6; ++i) fish.Draw();
  EXPECT_EQ(fish.GetAnimation().Row(), 0);
  EXPECT_EQ(screen.At(100, 200), ColourKeyBlue);
}

}  // namespace
}  // namespace tavi
