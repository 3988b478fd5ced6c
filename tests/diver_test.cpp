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

TEST_F(DiverTest, InitLoadsTheFourSheetsAndSetsTheStartValues) {
  GameWorld bare(false);
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Fehler beim Laden, Animation media\\taucher.bmp");
  EXPECT_EQ(lines[1], "Fehler beim Laden, Animation media\\taucherh.bmp");
  EXPECT_EQ(lines[2], "Fehler beim Laden, Animation media\\taucherr.bmp");
  EXPECT_EQ(lines[3], "Fehler beim Laden, Animation media\\tauchern.bmp");
  const Diver& fresh = bare.diver;
  for (const Animation& a : fresh.animations) {
    EXPECT_EQ(a.FrameWidth(), 159);
    EXPECT_EQ(a.FrameHeight(), 60);
    EXPECT_EQ(a.PlaysLeft(), -1);
  }
  EXPECT_EQ(fresh.pose, DiverPose::None);

  diver.x = 7;
  diver.y = 9;
  diver.width = 1;
  diver.height = 2;
  diver.score = 5;
  diver.lives = 0;
  diver.eatenCountdown = 3;
  diver.Init(world.display);
  EXPECT_EQ(diver.GetX(), 50);
  EXPECT_EQ(diver.GetY(), 100);
  EXPECT_EQ(diver.width, 159);
  EXPECT_EQ(diver.height, 60);
  EXPECT_EQ(diver.GetScore(), 0);
  EXPECT_EQ(diver.lives, 3);
  EXPECT_EQ(diver.eatenCountdown, -1);
  EXPECT_FALSE(diver.IsOver());
}

TEST_F(DiverTest, PosePriorities) {
  Frame({});
  EXPECT_EQ(diver.pose, DiverPose::Level);

  Frame({Dik::Down});
  EXPECT_EQ(diver.pose, DiverPose::Down);
  EXPECT_EQ(diver.GetY(), 104);

  Frame({Dik::Up, Dik::Down});  // up wins
  EXPECT_EQ(diver.pose, DiverPose::Up);
  EXPECT_EQ(diver.GetY(), 100);

  Frame({Dik::Up, Dik::Left});  // sideways shows Level while still rising
  EXPECT_EQ(diver.pose, DiverPose::Level);
  EXPECT_EQ(diver.GetX(), 46);
  EXPECT_EQ(diver.GetY(), 96);

  Frame({Dik::Left, Dik::Right});  // left wins
  EXPECT_EQ(diver.GetX(), 42);

  Frame({Dik::Right, Dik::Down});
  EXPECT_EQ(diver.pose, DiverPose::Level);
  EXPECT_EQ(diver.GetX(), 46);
  EXPECT_EQ(diver.GetY(), 100);

  Frame({Dik::Space, Dik::Up, Dik::Left, Dik::Down, Dik::Right});  // the net holds still
  EXPECT_EQ(diver.pose, DiverPose::Net);
  EXPECT_EQ(diver.GetX(), 46);
  EXPECT_EQ(diver.GetY(), 100);
}

TEST_F(DiverTest, StaysWithinItsBounds) {
  Place(-78, 300);
  Frame({Dik::Left});
  EXPECT_EQ(diver.GetX(), -79);
  Frame({Dik::Left});
  EXPECT_EQ(diver.GetX(), -79);
  Place(-77, 300);  // would reach -81
  Frame({Dik::Left});
  EXPECT_EQ(diver.GetX(), -79);

  Place(862, 300);
  Frame({Dik::Right});
  EXPECT_EQ(diver.GetX(), 865);
  Frame({Dik::Right});
  EXPECT_EQ(diver.GetX(), 865);

  Place(300, 609);
  Frame({Dik::Down});
  EXPECT_EQ(diver.GetY(), 612);
  Frame({Dik::Down});
  EXPECT_EQ(diver.GetY(), 612);

  Place(300, 1);
  Frame({Dik::Up});
  EXPECT_EQ(diver.GetY(), 0);
  Frame({Dik::Up});
  EXPECT_EQ(diver.GetY(), 0);
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

TEST_F(DiverTest, NoLivesLeftIsOverAtOnce) {
  diver.lives = 1;
  EXPECT_FALSE(diver.IsOver());
  diver.Hit(HitKind::BarrelHit);
  EXPECT_TRUE(diver.IsOver());
  diver.lives = -3;
  EXPECT_TRUE(diver.IsOver());
}

TEST_F(DiverTest, ResetRestoresTheGameButKeepsThePose) {
  Frame({Dik::Space});
  diver.Hit(HitKind::SharkHit);
  diver.Hit(HitKind::StoneHit);
  diver.CatchFish();
  diver.x = 700;
  diver.Reset();
  EXPECT_EQ(diver.pose, DiverPose::Net);
  EXPECT_EQ(diver.GetX(), 50);
  EXPECT_EQ(diver.GetY(), 100);
  EXPECT_EQ(diver.GetScore(), 0);
  EXPECT_EQ(diver.lives, 3);
  EXPECT_EQ(diver.eatenCountdown, -1);
  Frame({});  // the countdown is -1 again, so the first update sets a pose
  EXPECT_EQ(diver.pose, DiverPose::Level);
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
  EXPECT_EQ(diver.animations[1].Row(), 1);
  EXPECT_EQ(diver.animations[0].Row(), 0);
  EXPECT_EQ(diver.animations[2].Row(), 0);
  EXPECT_EQ(diver.animations[3].Row(), 0);

  Frame({Dik::Space});
  diver.Draw();
  EXPECT_EQ(screen.At(50, 96), test::DiverColours[3]);
  Frame({Dik::Up});  // the Up animation goes on from where it stood
  EXPECT_EQ(diver.animations[1].Row(), 1);
}

TEST_F(DiverTest, BoxesAndTheNetOnlyWithTheNetPose) {
  Place(100, 100);
  Frame({Dik::Space});
  const HitBox body = diver.GetBox();
  const HitBox net = diver.GetNetBox();
  EXPECT_EQ((std::vector<int>{body.left, body.top, body.right, body.bottom}), (std::vector<int>{100, 100, 259, 160}));
  EXPECT_EQ((std::vector<int>{net.left, net.top, net.right, net.bottom}), (std::vector<int>{217, 115, 259, 145}));
  EXPECT_TRUE(diver.HasNet());
  Frame({});
  const HitBox none = diver.GetNetBox();
  EXPECT_EQ((std::vector<int>{none.left, none.top, none.right, none.bottom}), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_FALSE(diver.HasNet());
}

TEST_F(DiverTest, HitsAndCatchesChangeTheRightFieldsAndPlayTheirSounds) {
  Place(300, 400);
  diver.CatchFish();
  diver.Hit(HitKind::BarrelHit);
  diver.Hit(HitKind::StoneHit);
  diver.Hit(static_cast<HitKind>(9));  // unknown: nothing
  EXPECT_EQ(diver.GetScore(), 1);
  EXPECT_EQ(diver.lives, 1);
  EXPECT_EQ(diver.GetY(), 337);
  EXPECT_EQ(diver.GetX(), 300);
  EXPECT_EQ(diver.eatenCountdown, -1);
  EXPECT_EQ(world.Played(), (std::vector<std::string>{test::FishSound, test::BarrelSound, test::StoneSound}));
}

TEST_F(DiverTest, HudTextsFitAnyScoreAndLives) {
  const Image& screen = world.display.BackBuffer();
  diver.DrawHud();
  EXPECT_EQ(test::ReadFontLine(screen, 0, 12, ColourKeyBlue), "PUNKTE 0    ");
  EXPECT_EQ(test::ReadFontLine(screen, 48, 12, ColourKeyBlue), "LEBEN  3    ");

  world.display.ClearBackBuffer();
  diver.score = 123456789;
  diver.lives = INT_MIN;
  diver.DrawHud();
  EXPECT_EQ(test::ReadFontLine(screen, 0, 17, ColourKeyBlue), "PUNKTE 123456789 ");
  EXPECT_EQ(test::ReadFontLine(screen, 48, 19, ColourKeyBlue), "LEBEN  -2147483648 ");
}

}  // namespace
}  // namespace tavi
