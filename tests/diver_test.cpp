#include <gtest/gtest.h>

#include <climits>

#include "game_world_fixture.h"

namespace tavi {
namespace {

using test::GameWorld;

class DiverTest : public ::testing::Test {
 protected:
  // One frame with exactly these keys down.
  void Frame(std::initializer_list<std::uint32_t> keys) {
    world.Hold(keys);
    diver.Update();
  }
  void Place(int x, int y) {
    diver.x = x;
    diver.y = y;
  }

  GameWorld world;
  Diver& diver = world.diver;
};

TEST_F(DiverTest, InitLoadsTheFourSheetsAndInitAndResetSetTheStartValues) {
  GameWorld bare(false);
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_GE(lines.size(), 4u);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(lines[i], std::string("Fehler beim Laden, Animation ") + media::DiverSheets[i]->file);
  for (const Animation& a : bare.diver.animations) {
    EXPECT_EQ(a.FrameWidth(), 159);
    EXPECT_EQ(a.FrameHeight(), 60);
    EXPECT_EQ(a.PlaysLeft(), -1);
  }
  EXPECT_EQ(bare.diver.pose, DiverPose::None);

  for (const bool reset : {false, true}) {
    SCOPED_TRACE(reset ? "Reset" : "Init");
    Frame({Dik::Space});
    diver.Hit(HitKind::SharkHit);
    diver.Hit(HitKind::StoneHit);
    diver.CatchFish();
    diver.x = 700;
    diver.width = reset ? 159 : 1;
    reset ? diver.Reset() : diver.Init(world.display);
    EXPECT_EQ((std::vector<int>{diver.GetX(), diver.GetY(), diver.width, diver.height, diver.GetScore(), diver.lives,
                                diver.eatenCountdown}),
              (std::vector<int>{50, 100, 159, 60, 0, 3, -1}));
    EXPECT_FALSE(diver.IsOver());
  }
  EXPECT_EQ(diver.pose, DiverPose::Net);  // Reset keeps it until the next update sets one
  Frame({});
  EXPECT_EQ(diver.pose, DiverPose::Level);
}

TEST_F(DiverTest, PosePriorities) {
  struct Step {
    std::vector<std::uint32_t> keys;
    DiverPose pose;
    int x, y;
  };
  const Step steps[] = {
      {{}, DiverPose::Level, 50, 100},
      {{Dik::Down}, DiverPose::Down, 50, 104},
      {{Dik::Up, Dik::Down}, DiverPose::Up, 50, 100},     // up wins
      {{Dik::Up, Dik::Left}, DiverPose::Level, 46, 96},   // sideways shows Level while still rising
      {{Dik::Left, Dik::Right}, DiverPose::Level, 42, 96},  // left wins
      {{Dik::Right, Dik::Down}, DiverPose::Level, 46, 100},
      {{Dik::Space, Dik::Up, Dik::Left, Dik::Down, Dik::Right}, DiverPose::Net, 46, 100},  // the net holds still
  };
  for (const Step& step : steps) {
    world.Hold(step.keys);
    diver.Update();
    EXPECT_EQ((std::vector<int>{static_cast<int>(diver.pose), diver.GetX(), diver.GetY()}),
              (std::vector<int>{static_cast<int>(step.pose), step.x, step.y})) << &step - steps;
  }
}

TEST_F(DiverTest, StaysWithinItsBounds) {
  struct Case {
    int x, y;
    std::uint32_t key;
    int bound;
  };
  for (const Case& c : {Case{-78, 300, Dik::Left, -79}, Case{-77, 300, Dik::Left, -79}, Case{862, 300, Dik::Right, 865},
                        Case{300, 609, Dik::Down, 612}, Case{300, 1, Dik::Up, 0}}) {
    Place(c.x, c.y);
    for (int frame = 0; frame < 2; ++frame) {
      Frame({c.key});
      EXPECT_EQ(c.key == Dik::Left || c.key == Dik::Right ? diver.GetX() : diver.GetY(), c.bound) << c.x << "," << c.y;
    }
  }
}

TEST_F(DiverTest, BeingEatenIgnoresKeysForFortyFiveFrames) {
  Frame({Dik::Down});
  diver.Hit(HitKind::SharkHit);
  ASSERT_EQ(diver.eatenCountdown, 45);
  diver.y = 700;  // the clamp still runs while being eaten
  for (int frame = 1; frame <= 44; ++frame) {
    Frame({Dik::Up, Dik::Left});
    ASSERT_FALSE(diver.IsOver()) << frame;
  }
  EXPECT_EQ(diver.pose, DiverPose::Down);
  EXPECT_EQ(diver.GetX(), 50);
  EXPECT_EQ(diver.GetY(), 612);
  EXPECT_EQ(diver.eatenCountdown, 1);
  Frame({Dik::Up});
  EXPECT_EQ(diver.eatenCountdown, 0);
  EXPECT_TRUE(diver.IsOver());
  Frame({Dik::Up});  // stays eaten
  EXPECT_EQ(diver.eatenCountdown, 0);
  EXPECT_EQ(diver.GetY(), 612);
}

TEST_F(DiverTest, DrawShowsAndAdvancesOnlyThePoseOnShow) {
  const Image& screen = world.display.BackBuffer();
  diver.Draw();  // no pose before the first update
  EXPECT_EQ(screen.At(60, 110), ColourKeyBlue);
  for (const Animation& a : diver.animations) EXPECT_EQ(a.Row(), 0);

  Frame({Dik::Up});  // at (50, 96)
  for (int i = 0; i < 11; ++i) diver.Draw();  // delay 10: the 11th step shows the next frame
  EXPECT_EQ(screen.At(50, 96), test::DiverColours[1]);
  EXPECT_EQ(screen.At(208, 155), test::DiverColours[1]);
  EXPECT_EQ(screen.At(209, 96), ColourKeyBlue);
  for (int pose = 0; pose < 4; ++pose) EXPECT_EQ(diver.animations[pose].Row(), pose == 1 ? 1 : 0) << pose;

  Frame({Dik::Space});
  diver.Draw();
  EXPECT_EQ(screen.At(50, 96), test::DiverColours[3]);
  Frame({Dik::Up});  // the Up animation goes on from where it stood
  EXPECT_EQ(diver.animations[1].Row(), 1);
}

TEST_F(DiverTest, BoxesAndTheNetOnlyWithTheNetPose) {
  Place(100, 100);
  Frame({Dik::Space});
  const auto bounds = [](const HitBox& b) { return std::vector<int>{b.left, b.top, b.right, b.bottom}; };
  EXPECT_EQ(bounds(diver.GetBox()), (std::vector<int>{100, 100, 259, 160}));
  EXPECT_EQ(bounds(diver.GetNetBox()), (std::vector<int>{217, 115, 259, 145}));
  EXPECT_TRUE(diver.HasNet());
  Frame({});
  EXPECT_EQ(bounds(diver.GetNetBox()), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_FALSE(diver.HasNet());
}

TEST_F(DiverTest, HudTextsFitAnyScoreAndLives) {
  const Image& screen = world.display.BackBuffer();
  diver.DrawHud();
  EXPECT_EQ(test::ReadFontLine(screen, 0, 12), "PUNKTE 0    ");
  EXPECT_EQ(test::ReadFontLine(screen, 48, 12), "LEBEN  3    ");

  world.display.ClearBackBuffer();
  diver.score = 123456789;
  diver.lives = INT_MIN;
  diver.DrawHud();
  EXPECT_EQ(test::ReadFontLine(screen, 0, 17), "PUNKTE 123456789 ");
  EXPECT_EQ(test::ReadFontLine(screen, 48, 19), "LEBEN  -2147483648 ");
}

}  // namespace
}  // namespace tavi
