// Pictures: decoded from every kind of BMP, and copied into the frame.
#include <gtest/gtest.h>

#include "base/error_log.h"
#include "base/media_manifest.h"
#include "fake_platform.h"
#include "graphics/bmp_decoder.h"
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

constexpr Pixel Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF, Black = 0;
// The picture each encoding below holds, three columns and two rows, top row first.
const std::vector<Pixel> Expected = {Red, Green, Blue, White, Black, Red};

std::vector<Pixel> Decoded(const std::string& file, int width = 3, int height = 2) {
  Image out;  // its colour key is kept, as the fuzz target checks
  return DecodeBmpScaled(file, width, height, out) ? out.Pixels() : std::vector<Pixel>{};
}

// The expected picture, bottom row first, each pixel made by `encode`, rows padded to four bytes.
template <typename Encode>
std::string BottomUp(Encode encode) {
  std::string rows;
  for (const int row : {1, 0}) {
    std::string line;
    for (int x = 0; x < 3; ++x) line += encode(Expected[row * 3 + x]);
    rows += line + std::string((4 - line.size() % 4) % 4, '\0');
  }
  return rows;
}

TEST(BmpDecoder, EveryDepthAndCompressionGivesTheSamePicture) {
  std::string topDown;
  for (const Pixel p : Expected) topDown += test::LittleEndian(p, 4);
  EXPECT_EQ(Decoded(test::BmpFile(3, -2, 32, 0, "", topDown)), Expected);
  // Masks of their own: blue in the high byte, red in the low one.
  const std::string masks = test::LittleEndian(0xFF, 4) + test::LittleEndian(0xFF0000, 4) + test::LittleEndian(0xFF000000, 4);
  const auto swapped = [](Pixel p) { return test::LittleEndian((p & 0xFF) << 24 | (p & 0xFF00) << 8 | p >> 16, 4); };
  EXPECT_EQ(Decoded(test::BmpFile(3, 2, 32, 3, masks, BottomUp(swapped))), Expected);
  const auto rgb555 = [](Pixel p) { return test::LittleEndian((p >> 9 & 0x7C00) | (p >> 6 & 0x03E0) | (p >> 3 & 0x1F), 2); };
  EXPECT_EQ(Decoded(test::BmpFile(3, 2, 16, 0, "", BottomUp(rgb555))), Expected);
  // A palette at 8 and 4 bits, plain and run-length encoded (runs, literal pixels, row ends).
  std::string palette;
  for (const Pixel c : {Red, Green, Blue, White, Black}) palette += test::LittleEndian(c, 4);
  EXPECT_EQ(Decoded(test::BmpFile(3, 2, 8, 0, palette, std::string("\3\4\0\0\0\1\2\0", 8), 5)), Expected);
  EXPECT_EQ(Decoded(test::BmpFile(3, 2, 4, 0, palette, std::string("\x34\0\0\0\x01\x20\0\0", 8), 5)), Expected);
  EXPECT_EQ(Decoded(test::BmpFile(3, 2, 8, 1, palette, std::string("\1\3\1\4\1\0\0\0\0\3\0\1\2\0\0\1", 16), 5)), Expected);
  EXPECT_EQ(Decoded(test::BmpFile(3, 2, 4, 2, palette, std::string("\2\x34\1\0\0\0\2\x01\1\x20\0\1", 12), 5)), Expected);
  const std::string mono = test::BmpFile(3, 2, 1, 0, test::LittleEndian(Black, 4) + test::LittleEndian(White, 4), std::string("\0\0\0\0\xE0\0\0\0", 8));
  EXPECT_EQ(Decoded(mono), (std::vector<Pixel>{White, White, White, Black, Black, Black}));
}

TEST(BmpDecoder, ScalesByTheNearestPixelAtEachCentre) {
  std::string row;
  for (const Pixel p : {Red, Green, Blue, White}) row += test::LittleEndian(p, 4);
  const std::string wide = test::BmpFile(4, -1, 32, 0, "", row);
  EXPECT_EQ(Decoded(wide, 2, 1), (std::vector<Pixel>{Green, White}));
  EXPECT_EQ(Decoded(wide, 8, 2), (std::vector<Pixel>{Red, Red, Green, Green, Blue, Blue, White, White,
                                                      Red, Red, Green, Green, Blue, Blue, White, White}));
}

TEST(BmpDecoder, RefusesBrokenFilesAndLeavesThePictureAlone) {
  const std::string palette = test::LittleEndian(Red, 4) + test::LittleEndian(Green, 4);
  const std::string fine = test::BmpFile(3, 2, 8, 0, palette, std::string(8, '\1'), 2);
  for (const std::string& broken : {
           std::string("BM garbage"), fine.substr(0, fine.size() - 1),          // the last row cut short
           test::BmpFile(3, 2, 8, 0, palette, std::string("\1\1\2\0\0\0\0\0", 8), 2),  // an index past the palette
           test::BmpFile(3, 2, 8, 1, palette, std::string("\4\1\0\1", 4), 2),          // a run past the row's end
           test::BmpFile(3, 2, 8, 1, palette, std::string("\0\5\1\1", 4), 2),          // literal pixels past the file
           test::BmpFile(3, 2, 32, 3, "", std::string(24, '\0'))}) {                  // masks missing
    Image out(1, 1, 0x123456);
    EXPECT_FALSE(DecodeBmpScaled(broken, 3, 2, out)) << broken.size();
    EXPECT_EQ(out.Pixels(), std::vector<Pixel>{0x123456});
  }
  Image out;
  EXPECT_FALSE(DecodeBmpScaled(fine, 0, 2, out) || DecodeBmpScaled(fine, 20000, 2, out));
  EXPECT_EQ(Decoded(fine), std::vector<Pixel>(6, Green));
}

}  // namespace
}  // namespace tavi
