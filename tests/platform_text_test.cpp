// Windows-1252 text: conversion to UTF-8 and TrueType drawing onto an Image.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/cp1252.h"
#include "platform/platform.h"

namespace tavi {
namespace {

PlatformOptions Headless() {
  PlatformOptions options;
  options.headless = true;
  return options;
}

TEST(Cp1252, ConvertsUmlautsSharpSEuroAndUnassignedBytes) {
  EXPECT_EQ(Cp1252ToUtf8("Gr\xFCn"), "Gr\xC3\xBCn");                              // "Grün"
  EXPECT_EQ(Cp1252ToUtf8("\xC4\xD6\xDC\xE4\xF6\xFC"), "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC");
  EXPECT_EQ(Cp1252ToUtf8("fa\xDF"), "fa\xC3\x9F");                                // "faß"
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");                                // euro sign
  EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8");                                    // Ÿ
  EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");  // unassigned: kept as the control character
  EXPECT_EQ(Cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// The smallest rectangle holding every pixel that differs from `background`.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right, bottom inclusive
  bool Empty() const { return right < 0; }
};

Box PaintedBox(const Image& image, Pixel background) {
  Box box;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      if (image.At(x, y) == background) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

class TextDrawing : public ::testing::Test {
 protected:
  std::unique_ptr<Platform> platform = CreatePlatform(Headless());
};

TEST_F(TextDrawing, BlendsTheColourOverTheBackgroundInsideItsLineOnly) {
  // Cyan on black, and red on blue: every pixel a mix of the two, the full colour somewhere.
  struct Case {
    Pixel background, colour;
    bool (*isMix)(Pixel);
  };
  const Case cases[] = {
      {0x000000, 0x00FFFF, [](Pixel p) { return p >> 16 == 0 && ((p >> 8) & 0xFF) == (p & 0xFF); }},
      {0x0000FF, 0xFF0000, [](Pixel p) { return ((p >> 8) & 0xFF) == 0 && ((p >> 16) & 0xFF) + (p & 0xFF) == 255; }},
  };
  for (const Case& c : cases) {
    Image image(300, 60, c.background);
    ASSERT_TRUE(platform->DrawText(image, "Hallo Taucher", 10, 20, c.colour));
    const Box box = PaintedBox(image, c.background);
    ASSERT_FALSE(box.Empty());
    EXPECT_GE(box.left, 10);
    EXPECT_LT(box.right, 10 + 120);
    EXPECT_GE(box.top, 20);
    EXPECT_LT(box.bottom, 20 + 16);
    bool full = false;
    int unmixed = 0;
    for (Pixel p : image.Pixels()) {
      unmixed += !c.isMix(p);
      full = full || p == c.colour;
    }
    EXPECT_EQ(unmixed, 0);
    EXPECT_TRUE(full);
  }
}

TEST_F(TextDrawing, UmlautsHaveTheirDotsAndLinesSixteenPixelsApartDoNotOverlap) {
  Image plain(40, 20, 0), umlaut(40, 20, 0);
  ASSERT_TRUE(platform->DrawText(plain, "a", 2, 2, 0x00FFFF));
  ASSERT_TRUE(platform->DrawText(umlaut, "\xE4", 2, 2, 0x00FFFF));  // "ä"
  EXPECT_LT(PaintedBox(umlaut, 0).top, PaintedBox(plain, 0).top);  // the dots sit above the a

  const std::string tallAndDeep = "\xC4\xD6\xDC\xC9 gjpqy|()";  // "ÄÖÜÉ gjpqy|()"
  Image first(300, 60, 0), second(300, 60, 0);
  ASSERT_TRUE(platform->DrawText(first, tallAndDeep, 0, 10, 0x00FFFF));
  ASSERT_TRUE(platform->DrawText(second, tallAndDeep, 0, 26, 0x00FFFF));
  const Box a = PaintedBox(first, 0), b = PaintedBox(second, 0);
  ASSERT_FALSE(a.Empty() || b.Empty());
  EXPECT_GE(a.top, 10);
  EXPECT_LT(a.bottom, b.top);
}

TEST_F(TextDrawing, ClipsAtEveryEdgeAndDrawsEmptyTextAsNothing) {
  Image image(20, 10, 0);
  ASSERT_TRUE(platform->DrawText(image, "WWWWWWWW", 12, 3, 0x00FFFF));  // runs off the right
  ASSERT_TRUE(platform->DrawText(image, "WWWWWWWW", -30, -8, 0x00FFFF));
  ASSERT_TRUE(platform->DrawText(image, "WWWWWWWW", 5, 9, 0x00FFFF));   // runs off the bottom
  const Box box = PaintedBox(image, 0);
  ASSERT_FALSE(box.Empty());
  EXPECT_EQ(box.right, 19);

  Image untouched(20, 10, 0x808080);
  EXPECT_TRUE(platform->DrawText(untouched, "", 2, 2, 0x00FFFF));
  EXPECT_TRUE(platform->DrawText(untouched, "Hallo", 20, 0, 0x00FFFF));
  EXPECT_TRUE(platform->DrawText(untouched, "Hallo", 0, -40, 0x00FFFF));
  EXPECT_TRUE(PaintedBox(untouched, 0x808080).Empty());
}

}  // namespace
}  // namespace tavi
