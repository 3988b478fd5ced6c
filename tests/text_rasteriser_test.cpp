#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/error_log.h"
#include "fake_platform.h"
#include "graphics/display.h"
#include "graphics/text_rasteriser.h"

namespace tavi {
namespace {

constexpr Pixel Ground = 0x402010;
constexpr Pixel Tint = 0x00FFFF;

Image Drawn(TextRasteriser& text, const std::string& line, int x, int y, int width = 200, int height = 40) {
  Image image(width, height, Ground);
  text.Draw(image, line, x, y, Tint);
  return image;
}

// The smallest rectangle holding every pixel that is not the ground.
Rect Inked(const Image& image) {
  Rect box{image.Width(), image.Height(), 0, 0};
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      if (image.At(x, y) == Ground) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
    }
  }
  return box;
}

class TextRasteriserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string bytes;
    std::string error;
    ASSERT_TRUE(platform_.ReadTextFont(TextRasteriser::MaxFontBytes, bytes, error)) << error;
    ASSERT_TRUE(text_.UseFont(bytes));
  }
  test::FakePlatform platform_;
  TextRasteriser text_;
};

// Anti-aliased, tinted text inside its line: its ink starts at the corner it is drawn at, stays
// within a line of 16 pixels, and every pixel is the ground, the tint or a blend of the two.
TEST_F(TextRasteriserTest, DrawsTintedCoverageWithinItsLine) {
  const Image image = Drawn(text_, "Tavi Hg", 10, 5);
  const Rect ink = Inked(image);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.left, 12);
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.bottom, 5 + 16);
  EXPECT_GT(ink.right - ink.left, 40);
  int full = 0;
  int partial = 0;
  for (const Pixel p : image.Pixels()) {
    // The coverage read from the green channel predicts the other two.
    const int alpha = (static_cast<int>((p >> 8) & 0xFF) - 0x20) * 255 / (0xFF - 0x20);
    EXPECT_NEAR(static_cast<int>(p >> 16), 0x40 * (255 - alpha) / 255, 2) << std::hex << p;
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 0x10 + (0xFF - 0x10) * alpha / 255, 2) << std::hex << p;
    full += p == Tint;
    partial += p != Tint && p != Ground;
  }
  EXPECT_GT(full, 10);
  EXPECT_GT(partial, 10);
}

// Clipped at every edge, a text keeps its pixels; its characters are Windows-1252.
TEST_F(TextRasteriserTest, ClipsAtTheEdgesAndReadsWindows1252) {
  const Image whole = Drawn(text_, "Wasser", 20, 10);
  const Image clipped = Drawn(text_, "Wasser", -5, -4, 30, 12);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 30; ++x) ASSERT_EQ(clipped.At(x, y), whole.At(x + 25, y + 14)) << x << "," << y;
  }
  EXPECT_EQ(Inked(Drawn(text_, "Wasser", 300, 10)).right, 0);
  // ä, € and ß have glyphs of their own, unlike each other and unlike a, e and s.
  const std::vector<std::string> lines = {"a", "\xE4", "e", "\x80", "s", "\xDF"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    for (std::size_t j = i + 1; j < lines.size(); ++j) {
      EXPECT_NE(Drawn(text_, lines[i], 0, 0).Pixels(), Drawn(text_, lines[j], 0, 0).Pixels()) << i << " " << j;
    }
  }
}

// A missing or broken font is told once: the game goes on without text, reading the font once.
TEST(DisplayText, MissingOrBrokenFontShowsOneBoxAndDrawsNothing) {
  for (const char* file : {"/nonexistent/font.ttf", TAVI_SOURCE_DIR "/README.md"}) {
    test::FakePlatform platform;
    platform.fontFile = file;
    ErrorLog log(&platform, "");
    Display display(platform, log);
    const std::vector<Pixel> blank = display.BackBuffer().Pixels();
    display.DrawGdiText("Tavi", 0, 0);
    display.DrawGdiText("Tavi", 0, 20);
    EXPECT_EQ(display.BackBuffer().Pixels(), blank) << file;
    EXPECT_EQ(platform.messages.size(), 1u) << file;
    EXPECT_EQ(platform.fontReads, 1) << file;
  }
}

}  // namespace
}  // namespace tavi
