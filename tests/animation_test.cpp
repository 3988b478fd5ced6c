#include <gtest/gtest.h>

#include <vector>

#include "base/error_log.h"
#include "fake_platform.h"
#include "game_world_fixture.h"
#include "graphics/animation.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"

namespace tavi {
namespace {

class AnimationTest : public ::testing::Test {
 protected:
  AnimationTest() {
    // Three frames side by side, each filled with its own colour.
    Image sheet(45, 10);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 45; ++x) sheet.Set(x, y, 0x100000u * static_cast<Pixel>(x / 15 + 1));
    platform.pictures["sheet"] = sheet;
    Image grid(20, 20);  // 2 x 2 frames
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) grid.Set(x, y, static_cast<Pixel>(1 + x / 10 + 2 * (y / 10)));
    platform.pictures["grid"] = grid;
  }
  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  Display display{platform, errors};
};

TEST_F(AnimationTest, DelayFiveOnThreeFramesReturnsAfterEighteenSteps) {
  Animation a;
  a.Load(display, "sheet", 45, 10, 3, 1, 5, ColourKeyBlue);
  a.Restart(-1);
  std::vector<int> columns, expected;
  for (int step = 0; step < 19; ++step) {
    columns.push_back(a.Column());
    expected.push_back(step / 6 % 3);  // each frame shown for six steps
    a.Advance();
  }
  EXPECT_EQ(columns, expected);
  EXPECT_EQ(a.PlaysLeft(), -1);
}

TEST_F(AnimationTest, StoppedUntilRestartAndAfterTheLastPass) {
  Animation never;
  never.Restart(-1);  // never loaded: nothing changes
  EXPECT_EQ(never.Column(), -1);

  Animation a;
  a.Load(display, "sheet", 45, 10, 3, 1, 0, ColourKeyBlue);
  a.Draw(0, 0, true);
  EXPECT_EQ(display.BackBuffer().At(0, 0), ColourKeyBlue);
  a.Restart(1);
  for (int i = 0; i < 3; ++i) a.Draw(0, 0, true);
  EXPECT_EQ(a.PlaysLeft(), 0);
  EXPECT_EQ(a.Column(), 0);
  display.ClearBackBuffer();
  a.Draw(0, 0, true);
  EXPECT_EQ(display.BackBuffer().At(0, 0), ColourKeyBlue);
}

TEST_F(AnimationTest, RestartInTheSecondRowKeepsTheRow) {
  Animation a;
  a.Load(display, "grid", 20, 20, 2, 2, 0, ColourKeyBlue);
  a.Restart(-1);
  for (int i = 0; i < 3; ++i) a.Advance();  // frame (1, 1)
  ASSERT_EQ(a.Row(), 1);
  a.Restart(-1);
  EXPECT_EQ(a.Column(), 0);
  EXPECT_EQ(a.Row(), 1);
  a.Draw(0, 0, false);
  EXPECT_EQ(display.BackBuffer().At(0, 0), 3u);
}

TEST_F(AnimationTest, ClipsAtTheEdgesAndStillSteps) {
  Animation a;
  a.Load(display, "sheet", 45, 10, 3, 1, 0, ColourKeyBlue);
  a.Restart(-1);
  a.Draw(1024 - 15, 0, false);  // right edge exactly on 1024: whole frame
  EXPECT_EQ(display.BackBuffer().At(1023, 0), 0x100000u);
  EXPECT_EQ(display.BackBuffer().At(1008, 0), ColourKeyBlue);
  a.Draw(-10, 20, false);  // leftmost 10 columns cut
  EXPECT_EQ(display.BackBuffer().At(4, 20), 0x100000u);
  EXPECT_EQ(display.BackBuffer().At(5, 20), ColourKeyBlue);
  a.Draw(1024, 0, true);
  a.Draw(0, -10, true);
  EXPECT_EQ(a.Column(), 2);
  EXPECT_TRUE(test::ReadLines("Error.txt").empty());
}

TEST_F(AnimationTest, MissingSheetIsReportedAndDrawsNothing) {
  Animation a;
  a.Load(display, media::Shark);
  a.Restart(-1);
  a.Draw(0, 0, true);
  a.Draw(0, 0, true);
  a.Draw(2000, 0, true);
  EXPECT_EQ(test::ReadLines("Error.txt"),
            (std::vector<std::string>{std::string("Fehler beim Laden, Animation ") + media::Shark.file,
                                      std::string("Surface=NULL: ") + media::Shark.file}));
}

TEST(BitmapFont, OneCellPerCharacterAGapForOthersAndNothingPastTheRightEdge) {
  test::FakePlatform platform;
  platform.pictures[media::Glyphs.file] = test::CodedGlyphSheet();
  ErrorLog errors(&platform, "/dev/null");
  Display display(platform, errors);
  BitmapFont font(display);
  display.ClearBackBuffer();
  font.DrawFontText("Gr\xFCn 0z!-,@[{\n.:?", 0, 0);  // "Grün ...": the ü is a gap
  EXPECT_EQ(test::ReadFontLine(display.BackBuffer(), 0, 18), "GR N 0Z!-     .:? ");
  font.DrawFontText("AB", 1000, 100);  // the first cell would reach 1032
  font.DrawFontText("AB", 980, 200);   // only the first fits
  const Image& frame = display.BackBuffer();  // read at x 1008, 996 and 1012
  EXPECT_EQ(test::ReadFontLine(frame, 100, 1, 992) + test::ReadFontLine(frame, 200, 1, 980) +
                test::ReadFontLine(frame, 200, 1, 996),
            " A ");
}

}  // namespace
}  // namespace tavi
