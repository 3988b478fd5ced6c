#include <gtest/gtest.h>

#include "app/backdrop.h"
#include "base/error_log.h"
#include "base/media_manifest.h"
#include "fake_platform.h"
#include "graphics/display.h"

namespace tavi {
namespace {

// Band and sand pictures whose every pixel names its own column (1 + column, never the key).
class BackdropTest : public ::testing::Test {
 protected:
  BackdropTest() {
    Image band(512, 280);
    Image sand(512, 96);
    for (int y = 0; y < 280; ++y)
      for (int x = 0; x < 512; ++x) band.Set(x, y, 0x10000u + static_cast<Pixel>(x));
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 512; ++x) sand.Set(x, y, 0x20000u + static_cast<Pixel>(x));
    platform.pictures[media::BackgroundBand.file] = band;
    platform.pictures[media::Sand.file] = sand;
    backdrop.LoadSand(display);
    backdrop.LoadBand(display);
  }
  void Frame() {
    display.ClearBackBuffer();
    backdrop.DrawBackgroundBand(display);
    backdrop.DrawSandStrip(display);
  }
  // Source column shown at screen column x in the band rows / the sand rows (below the band).
  int BandColumn(int x) const { return static_cast<int>(display.BackBuffer().At(x, 500) - 0x10000u); }
  int SandColumn(int x) const { return static_cast<int>(display.BackBuffer().At(x, 740) - 0x20000u); }

  test::FakePlatform platform;
  ErrorLog errors{&platform, "/dev/null"};
  Display display{platform, errors};
  Backdrop backdrop;
};

TEST_F(BackdropTest, FirstFrameTilesAtZeroAndFiveTwelve) {
  Frame();
  EXPECT_EQ(BandColumn(0), 0);
  EXPECT_EQ(BandColumn(511), 511);
  EXPECT_EQ(BandColumn(512), 0);
  EXPECT_EQ(BandColumn(1023), 511);
  EXPECT_EQ(SandColumn(0), 0);
  EXPECT_EQ(SandColumn(512), 0);
  EXPECT_EQ(SandColumn(1023), 511);
  EXPECT_EQ(display.BackBuffer().At(0, 423), ColourKeyBlue);  // nothing above the band
  EXPECT_EQ(backdrop.BandScroll(), -0.5f);
  EXPECT_EQ(backdrop.SandScroll(), -2);
}

TEST_F(BackdropTest, SecondFrameShiftsBandByHalfAndSandByTwo) {
  Frame();
  Frame();
  // Band tiles at 0 (truncated from -0.5), 511 and 1023; the first two overlap by a column.
  EXPECT_EQ(BandColumn(0), 0);
  EXPECT_EQ(BandColumn(510), 510);
  EXPECT_EQ(BandColumn(511), 0);
  EXPECT_EQ(BandColumn(1022), 511);
  EXPECT_EQ(BandColumn(1023), 0);
  // Sand: columns 2..511 at 0, the whole picture at 510, columns 0 and 1 at 1022.
  EXPECT_EQ(SandColumn(0), 2);
  EXPECT_EQ(SandColumn(509), 511);
  EXPECT_EQ(SandColumn(510), 0);
  EXPECT_EQ(SandColumn(1021), 511);
  EXPECT_EQ(SandColumn(1022), 0);
  EXPECT_EQ(SandColumn(1023), 1);
}

TEST_F(BackdropTest, OffsetsWrapAfterOnePictureWidth) {
  for (int frame = 1; frame <= 256; ++frame) Frame();
  EXPECT_EQ(backdrop.SandScroll(), 0);  // frame 257 draws at offset 0 again
  for (int frame = 257; frame <= 1024; ++frame) Frame();
  EXPECT_EQ(backdrop.BandScroll(), 0.0f);  // and frame 1025 for the band
  Frame();
  EXPECT_EQ(BandColumn(0), 0);
  EXPECT_EQ(SandColumn(512), 0);
}

TEST_F(BackdropTest, BandAtMinusThreeHundred) {
  backdrop.SetBandScroll(-300.0f);
  Frame();
  EXPECT_EQ(BandColumn(0), 300);
  EXPECT_EQ(BandColumn(211), 511);
  EXPECT_EQ(BandColumn(212), 0);
  EXPECT_EQ(BandColumn(724), 0);
  EXPECT_EQ(BandColumn(1023), 299);
}

TEST(BackdropWithoutPictures, DrawsNothingAndStillScrolls) {
  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors(&platform);
  Display display(platform, errors);
  Backdrop backdrop;
  backdrop.LoadSand(display);
  backdrop.LoadBand(display);
  backdrop.DrawBackgroundBand(display);
  backdrop.DrawSandStrip(display);
  EXPECT_EQ(display.BackBuffer().At(0, 740), ColourKeyBlue);
  EXPECT_EQ(backdrop.SandScroll(), -2);
  // Only the band is reported; the sand strip reports nothing.
  const std::string bandReport = std::string("Fehler beim Laden von: ") + media::BackgroundBand.file;
  EXPECT_EQ(test::ReadLines("Error.txt"), std::vector<std::string>{bandReport});
}

}  // namespace
}  // namespace tavi
