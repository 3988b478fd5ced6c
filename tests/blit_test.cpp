#include <gtest/gtest.h>

#include "fake_platform.h"
#include "graphics/display.h"
#include "graphics/error_log.h"
#include "graphics/surface.h"

namespace tavi {
namespace {

// A picture whose pixel (x, y) holds x + 1000 * y + 1, so every copied pixel tells where it came from.
Image Numbered(int w, int h) {
  Image image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.Set(x, y, static_cast<Pixel>(x + 1000 * y + 1));
  return image;
}

int CountChanged(const Image& image, Pixel background) {
  int n = 0;
  for (Pixel p : image.Pixels()) n += p != background;
  return n;
}

TEST(BltFast, RefusesWhatDoesNotFitAndCopiesWhatDoes) {
  Image dst(1024, 768, 0xFF);
  const Image src = Numbered(10, 10);
  const Rect empty{3, 3, 3, 8};
  const Rect outside{5, 5, 11, 10};
  EXPECT_FALSE(BltFast(dst, 0, 0, src, &empty, false));
  EXPECT_FALSE(BltFast(dst, 0, 0, src, &outside, false));
  EXPECT_FALSE(BltFast(dst, 1015, 0, src, nullptr, false));  // one column past the right edge
  EXPECT_FALSE(BltFast(dst, 0, 759, src, nullptr, false));
  EXPECT_FALSE(BltFast(dst, -1, 0, src, nullptr, false));
  EXPECT_EQ(CountChanged(dst, 0xFF), 0);

  EXPECT_TRUE(BltFast(dst, 1014, 758, src, nullptr, false));  // flush with the corner
  EXPECT_EQ(dst.At(1014, 758), src.At(0, 0));
  EXPECT_EQ(dst.At(1023, 767), src.At(9, 9));
  EXPECT_EQ(CountChanged(dst, 0xFF), 100);
}

TEST(BltFast, KeyedCopySkipsTheKeyOnly) {
  Image src(4, 1);
  src.Set(0, 0, 0x0000FF);
  src.Set(1, 0, 0x0000FE);
  src.Set(2, 0, 0x000000);
  src.Set(3, 0, 0xFF00FF);
  Image keyed(4, 1, 0x777777);
  Image opaque(4, 1, 0x777777);
  ASSERT_TRUE(BltFast(keyed, 0, 0, src, nullptr, true));
  ASSERT_TRUE(BltFast(opaque, 0, 0, src, nullptr, false));
  EXPECT_EQ(keyed.At(0, 0), 0x777777u);
  EXPECT_EQ(keyed.At(1, 0), 0x0000FEu);
  EXPECT_EQ(keyed.At(2, 0), 0x000000u);
  EXPECT_EQ(opaque.At(0, 0), 0x0000FFu);

  src.SetColourKey(ColourKeyBlack);
  Image black(4, 1, 0x777777);
  ASSERT_TRUE(BltFast(black, 0, 0, src, nullptr, true));
  EXPECT_EQ(black.At(0, 0), 0x0000FFu);
  EXPECT_EQ(black.At(2, 0), 0x777777u);
}

class SurfaceDraw : public ::testing::Test {
 protected:
  test::FakePlatform platform;
  ErrorLog errors{&platform, "/dev/null"};
  Display display{platform, errors};

  Surface Picture(int w, int h, int x, int y) {
    platform.pictures["pic"] = Numbered(w, h);
    Surface s;
    s.Load(display, "pic", w, h, x, y, false);
    return s;
  }
  // The frame's columns and rows that the picture changed.
  Rect Drawn() const {
    Rect r{1024, 768, -1, -1};
    const Image& b = display.BackBuffer();
    for (int y = 0; y < 768; ++y)
      for (int x = 0; x < 1024; ++x)
        if (b.At(x, y) != ColourKeyBlue) {
          r.left = std::min(r.left, x);
          r.top = std::min(r.top, y);
          r.right = std::max(r.right, x + 1);
          r.bottom = std::max(r.bottom, y + 1);
        }
    return r;
  }
};

TEST_F(SurfaceDraw, OffTheRightOrBottomEdgeDrawsNothing) {
  Picture(224, 56, 1024, 768).Draw(display);
  Picture(224, 56, 1024, 100).Draw(display);
  Picture(224, 56, 100, 768).Draw(display);
  EXPECT_EQ(CountChanged(display.BackBuffer(), ColourKeyBlue), 0);
}

TEST_F(SurfaceDraw, NegativeXShowsTheRestFromScreenColumnZero) {
  const Surface s = Picture(215, 49, -100, 10);
  s.Draw(display);
  const Rect r = Drawn();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 115);
  EXPECT_EQ(display.BackBuffer().At(0, 10), s.image->At(100, 0));
}

TEST_F(SurfaceDraw, RightEdgeCutsColumnsAndBottomEdgeCutsRows) {
  const Surface wide = Picture(215, 49, 900, 10);
  wide.Draw(display);
  EXPECT_EQ(Drawn().right, 1024);
  EXPECT_EQ(display.BackBuffer().At(1023, 10), wide.image->At(123, 0));

  display.ClearBackBuffer();
  const Surface tall = Picture(32, 96, 10, 700);
  tall.Draw(display);
  const Rect r = Drawn();
  EXPECT_EQ(r.top, 700);
  EXPECT_EQ(r.bottom - r.top, 68);
  EXPECT_EQ(display.BackBuffer().At(10, 767), tall.image->At(0, 67));
}

TEST_F(SurfaceDraw, KeyedPictureLeavesTheBackgroundWhereItIsBlue) {
  Image src(2, 1, 0x0000FF);
  src.Set(1, 0, 0x00FF00);
  platform.pictures["k"] = src;
  display.BackBuffer().Fill(0x111111);
  Surface keyed;
  keyed.Load(display, "k", 2, 1, 0, 0, true);
  keyed.Draw(display);
  EXPECT_EQ(display.BackBuffer().At(0, 0), 0x111111u);
  EXPECT_EQ(display.BackBuffer().At(1, 0), 0x00FF00u);
  Surface opaque;
  opaque.Load(display, "k", 2, 1, 0, 0, false);
  opaque.Draw(display);
  EXPECT_EQ(display.BackBuffer().At(0, 0), 0x0000FFu);
}

TEST(ErrorLogFile, MissingPicturesAreLoggedAndLinesAppendAcrossRuns) {
  test::TempDir dir;
  test::FakePlatform platform;
  {
    ErrorLog errors(&platform);
    Display display(platform, errors);
    Surface s;
    s.Load(display, "media\\title.bmp", 440, 65, 292, 100, false);
    s.Draw(display);  // draws nothing, reports nothing more
    errors.LogError("");
  }
  ErrorLog nextRun(&platform);
  nextRun.LogError("zweiter Lauf");
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Fehler beim Laden von: media\\title.bmp");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "zweiter Lauf");
  EXPECT_TRUE(platform.messages.empty());
}

TEST(DisplaySetup, EachFailingStepShowsItsMessage) {
  const std::pair<DisplayInit, std::string> cases[] = {
      {DisplayInit::DeviceFailed, "Fehler beim Anlegen des DirectDraw-Objekts"},
      {DisplayInit::ModeFailed, "Fehler beim Setzen des Kooperationsebene"},
      {DisplayInit::PrimaryFailed, "Fehler beim Anlegen der prim\xE4ren Oberfl\xE4" "che"},
      {DisplayInit::BufferFailed, "Fehler beim Anlegen des Puffers"},
  };
  for (const auto& [step, text] : cases) {
    test::FakePlatform platform;
    platform.displayInit = step;
    ErrorLog errors(&platform, "/dev/null");
    Display display(platform, errors);
    EXPECT_FALSE(display.InitDisplay());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, "Error");
    EXPECT_EQ(platform.messages[0].second, text);
  }
}

TEST(DisplaySetup, ClearFillsBlueAndTextFailureIsShownOnce) {
  test::FakePlatform platform;
  platform.textWorks = false;
  ErrorLog errors(&platform, "/dev/null");
  Display display(platform, errors);
  ASSERT_TRUE(display.InitDisplay());
  display.BackBuffer().Fill(0);
  display.ClearBackBuffer();
  EXPECT_EQ(CountChanged(display.BackBuffer(), 0xFF), 0);
  display.DrawGdiText("a", 0, 0);
  display.DrawGdiText("b", 0, 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].second, "DC ist nicht verf\xFCgbar");
  display.ReleaseDisplay();
  display.ReleaseDisplay();
  EXPECT_EQ(platform.displayReleases, 1);
}

}  // namespace
}  // namespace tavi
