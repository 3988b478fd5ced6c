#include <gtest/gtest.h>

#include "base/error_log.h"
#include "base/media_manifest.h"
#include "fake_platform.h"
#include "graphics/display.h"
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

TEST(BltFast, RefusesWhatDoesNotFitCopiesWhatDoesAndSkipsOnlyTheKey) {
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

  Image keyedSrc(4, 1);
  const Pixel colours[4] = {0x0000FF, 0x0000FE, 0x000000, 0xFF00FF};
  for (int x = 0; x < 4; ++x) keyedSrc.Set(x, 0, colours[x]);
  for (const Pixel key : {ColourKeyBlue, ColourKeyBlack}) {
    keyedSrc.SetColourKey(key);
    Image keyed(4, 1, 0x777777), opaque(4, 1, 0x777777);
    ASSERT_TRUE(BltFast(keyed, 0, 0, keyedSrc, nullptr, true));
    ASSERT_TRUE(BltFast(opaque, 0, 0, keyedSrc, nullptr, false));
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(keyed.At(x, 0), colours[x] == key ? 0x777777u : colours[x]) << key << " " << x;
      EXPECT_EQ(opaque.At(x, 0), colours[x]);
    }
  }
}

TEST(BltFast, KeyedCopyOfAnyPartMatchesPixelByPixelAndFollowsChanges) {
  // Runs of key and picture of every length, cut by source rectangles at every column.
  Image src(37, 3);
  std::uint32_t seed = 7;
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) {
      seed = seed * 1103515245u + 12345u;
      src.Set(x, y, (seed >> 16) % 3 == 0 ? ColourKeyBlue : 0x100000 + static_cast<Pixel>(x + 100 * y));
    }
  const auto expectCopied = [&src](int left, int right) {
    Image dst(40, 3, 0x777777);
    const Rect r{left, 0, right, 3};
    ASSERT_TRUE(BltFast(dst, 2, 0, src, &r, true));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 40; ++x) {
        const int sx = x - 2 + left;
        const bool inside = sx >= left && sx < right;
        const Pixel want = inside && src.At(sx, y) != src.ColourKey() ? src.At(sx, y) : 0x777777;
        ASSERT_EQ(dst.At(x, y), want) << "columns " << left << ".." << right << " at " << x << "," << y;
      }
  };
  for (int left = 0; left < 37; ++left)
    for (int right = left + 1; right <= 37; ++right) expectCopied(left, right);

  // A picture changed after a copy is copied as it is now: key and picture swap places.
  for (int x = 0; x < src.Width(); ++x) src.Set(x, 0, src.At(x, 0) == ColourKeyBlue ? 0xABCDEF : ColourKeyBlue);
  Pixel* row = src.Row(1);
  for (int x = 0; x < src.Width(); ++x) row[x] = row[x] == ColourKeyBlue ? 0x123456 : ColourKeyBlue;
  expectCopied(0, 37);
  src.SetColourKey(0x123456);
  expectCopied(3, 30);
}

class SurfaceDraw : public ::testing::Test {
 protected:
  test::FakePlatform platform;
  ErrorLog errors{&platform, "/dev/null"};
  Display display{platform, errors};

  // Draws a numbered w x h picture at (x, y) onto a cleared frame.
  Surface Draw(int w, int h, int x, int y, bool keyed = false) {
    platform.pictures["pic"] = Numbered(w, h);
    Surface s;
    s.Load(display, "pic", w, h, x, y, keyed);
    display.ClearBackBuffer();
    s.Draw(display);
    return s;
  }
  // The frame's columns and rows that the picture changed.
  Rect Drawn() const {
    Rect r{1024, 768, -1, -1};
    const Image& b = display.BackBuffer();
    for (int y = 0; y < 768; ++y)
      for (int x = 0; x < 1024; ++x)
        if (b.At(x, y) != ColourKeyBlue)
          r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    return r;
  }
};

TEST_F(SurfaceDraw, ClipsAtTheEdgesAndDrawsNothingFromTheRightOrBottomEdgeOn) {
  for (const auto& [x, y] : {std::pair{1024, 768}, {1024, 100}, {100, 768}}) {
    Draw(224, 56, x, y);
    EXPECT_EQ(CountChanged(display.BackBuffer(), ColourKeyBlue), 0) << x << "," << y;
  }
  struct Case {
    int w, h, x, y;
    Rect drawn;
    int sourceX, sourceY;  // what lands at the drawn rectangle's top left corner
  };
  const Case cases[] = {
      {215, 49, -100, 10, {0, 10, 115, 59}, 100, 0},    // from source column 100 at screen column 0
      {215, 49, 900, 10, {900, 10, 1024, 59}, 0, 0},    // columns 0 to 123
      {32, 96, 10, 700, {10, 700, 42, 768}, 0, 0},      // 68 rows
  };
  for (const Case& c : cases) {
    const Surface s = Draw(c.w, c.h, c.x, c.y);
    const Rect r = Drawn();
    EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
              (std::vector<int>{c.drawn.left, c.drawn.top, c.drawn.right, c.drawn.bottom})) << c.x << "," << c.y;
    EXPECT_EQ(display.BackBuffer().At(r.left, r.top), s.image->At(c.sourceX, c.sourceY));
    EXPECT_EQ(display.BackBuffer().At(r.right - 1, r.bottom - 1),
              s.image->At(c.sourceX + r.right - 1 - r.left, c.sourceY + r.bottom - 1 - r.top));
  }
}

}  // namespace
}  // namespace tavi
