#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_world_fixture.h"

namespace tavi {
namespace {

using test::GameWorld;

class ObjectGroupTest : public ::testing::Test {
 protected:
  GameWorld world;
  Diver& diver = world.diver;
};

TEST_F(ObjectGroupTest, InitLoadsEachKindsSheetWithItsGridAndKey) {
  {
    GameWorld bare(false);
    const auto lines = test::ReadLines("Error.txt");
    ASSERT_GE(lines.size(), 11u);  // after the diver's four
    for (int i = 0; i < ObjectKindCount; ++i)
      EXPECT_EQ(lines[4 + i], std::string("Fehler beim Laden, Animation ") + media::ObjectSheets[i]->file);
  }
  const int frames[ObjectKindCount][2] = {{45, 24}, {32, 128}, {59, 91}, {315, 118}, {18, 18}, {68, 63}, {92, 78}};
  for (int i = 0; i < ObjectKindCount; ++i) {
    const Animation& animation = world.groups[i]->GetAnimation();
    EXPECT_EQ(world.groups[i]->Kind(), static_cast<ObjectKind>(i + 1));
    EXPECT_EQ((std::vector<int>{animation.FrameWidth(), animation.FrameHeight(), animation.PlaysLeft()}),
              (std::vector<int>{frames[i][0], frames[i][1], -1})) << i;
  }

  // Plants are keyed on black, fish on blue: both sheets hold black and blue pixels.
  Image twoTone(64, 128, 0x000000);
  for (int y = 0; y < 128; ++y) twoTone.Set(1, y, ColourKeyBlue);
  world.platform.pictures[media::Plant.file] = twoTone;
  world.platform.pictures[media::Fish.file] = Image(45, 72, 0x000000);
  world.plant.Init(world.display, ObjectKind::Plant, diver);
  world.fish.Init(world.display, ObjectKind::Fish, diver);
  world.display.BackBuffer().Fill(0x777777);
  world.Put(ObjectKind::Plant, 100, 100);
  world.Put(ObjectKind::Fish, 300, 100);
  world.plant.Draw();
  world.fish.Draw();
  const Image& screen = world.display.BackBuffer();
  EXPECT_EQ((std::vector<Pixel>{screen.At(100, 110), screen.At(101, 110), screen.At(300, 110)}),
            (std::vector<Pixel>{0x777777, ColourKeyBlue, 0x000000}));
}

TEST_F(ObjectGroupTest, SharkSteersIntoItsBandAboveTheDiver) {
  // The shark's y and vertical speed after each of `frames` updates.
  const auto track = [&](ObjectInstance& shark, int frames) {
    std::vector<std::pair<int, int>> path;
    for (int frame = 0; frame < frames; ++frame) {
      world.shark.Update();
      path.emplace_back(shark.y, shark.speedY);
    }
    return path;
  };
  ObjectInstance& high = world.Put(ObjectKind::Shark, 900, 60);  // diver at y 100: band 53..57
  EXPECT_EQ(track(high, 4), (std::vector<std::pair<int, int>>{{58, -2}, {56, -2}, {56, 0}, {56, 0}}));
  EXPECT_EQ(high.x, 880);
  world.shark.Clear();
  ObjectInstance& low = world.Put(ObjectKind::Shark, 900, 40);
  EXPECT_EQ(track(low, 9), (std::vector<std::pair<int, int>>{{42, 2}, {44, 2}, {46, 2}, {48, 2}, {50, 2}, {52, 2},
                                                             {54, 2}, {54, 0}, {54, 0}}));
  diver.y = 200;  // it follows the diver down
  EXPECT_EQ(track(low, 1), (std::vector<std::pair<int, int>>{{56, 2}}));
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

TEST_F(ObjectGroupTest, DrawShowsEveryInstanceWithOneFrameAndStepsOnce) {
  ObjectGroup& fish = world.fish;  // delay 5, three rows
  fish.Spawn();
  fish.Draw();  // at x 1024: wholly clipped, nothing reported
  EXPECT_TRUE(test::ReadLines("Error.txt").empty());
  fish.Update();
  EXPECT_EQ(fish.Instances().front().x, 1020);
  fish.Clear();
  for (int i = 0; i < 4; ++i) fish.Draw();
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
