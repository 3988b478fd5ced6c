#include <gtest/gtest.h>

#include "fake_platform.h"
#include "graphics/animation.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "graphics/error_log.h"

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
  std::vector<int> columns;
  for (int step = 0; step < 18; ++step) {
    columns.push_back(a.Column());
    a.Advance();
  }
  EXPECT_EQ(a.Column(), 0);
  EXPECT_EQ(columns[5], 0);
  EXPECT_EQ(columns[6], 1);
  EXPECT_EQ(columns[12], 2);
  EXPECT_EQ(columns[17], 2);
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
  a.Advance();
  a.Advance();
  a.Advance();  // frame (1, 1)
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
  a.Load(display, "media\\hai.bmp", 315, 354, 1, 3, 5, ColourKeyBlue);
  a.Restart(-1);
  a.Draw(0, 0, true);
  a.Draw(0, 0, true);
  a.Draw(2000, 0, true);
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Fehler beim Laden, Animation media\\hai.bmp");
  EXPECT_EQ(lines[1], "Surface=NULL");
}

TEST(BitmapFontCells, LayoutAndFallback) {
  auto cell = [](char c) {
    const Rect r = BitmapFont::CellFor(static_cast<unsigned char>(c));
    return std::make_pair(r.left / 32, r.top / 32);
  };
  EXPECT_EQ(cell('1'), std::make_pair(0, 0));
  EXPECT_EQ(cell('0'), std::make_pair(1, 1));
  EXPECT_EQ(cell('A'), std::make_pair(3, 1));
  EXPECT_EQ(cell('a'), cell('A'));
  EXPECT_EQ(cell('z'), std::make_pair(4, 4));
  EXPECT_EQ(cell('!'), std::make_pair(7, 4));
  EXPECT_EQ(cell('-'), std::make_pair(1, 5));
  for (char c : {' ', ',', '\n', '\xFC', '@', '[', '{'}) EXPECT_EQ(cell(c), std::make_pair(2, 1)) << int(c);
}

TEST(BitmapFontDraw, OneCellPerCharacterAndNothingOutsideTheScreen) {
  test::FakePlatform platform;
  Image sheet(256, 192, 0x000000);
  for (int y = 0; y < 192; ++y)
    for (int x = 0; x < 256; ++x)
      if (!(x / 32 == 2 && y / 32 == 1)) sheet.Set(x, y, 0xFFFFFF);  // every cell solid but the fallback
  platform.pictures["media\\schrift.bmp"] = sheet;
  ErrorLog errors(&platform, "/dev/null");
  Display display(platform, errors);
  BitmapFont font(display);

  font.DrawFontText("Gr\xFCn", 0, 0);  // "Grün": the ü is a gap
  const Image& b = display.BackBuffer();
  EXPECT_EQ(b.At(31, 0), 0xFFFFFFu);
  EXPECT_EQ(b.At(64, 0), ColourKeyBlue);
  EXPECT_EQ(b.At(127, 31), 0xFFFFFFu);
  EXPECT_EQ(b.At(128, 0), ColourKeyBlue);

  display.ClearBackBuffer();
  font.DrawFontText("AB", 1000, 100);  // first cell would reach 1032
  font.DrawFontText("AB", 980, 200);   // only the first fits
  EXPECT_EQ(b.At(1010, 100), ColourKeyBlue);
  EXPECT_EQ(b.At(980, 200), 0xFFFFFFu);
  EXPECT_EQ(b.At(1013, 200), ColourKeyBlue);
}

}  // namespace
}  // namespace tavi
