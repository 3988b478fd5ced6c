#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "graphics/bmp_decoder.h"

namespace tavi {
namespace {

void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A BMP file with a 40-byte header: `tables` (masks or palette) and `pixels` as given.
std::string Bmp(int width, int height, int bits, std::uint32_t compression, const std::string& tables,
                const std::string& pixels, std::uint32_t coloursUsed = 0) {
  std::string out = "BM";
  const auto offset = static_cast<std::uint32_t>(54 + tables.size());
  Put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bits));
  Put32(out, compression);
  Put32(out, static_cast<std::uint32_t>(pixels.size()));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, coloursUsed);
  Put32(out, 0);
  return out + tables + pixels;
}

std::string Palette(const std::vector<Pixel>& colours) {
  std::string out;
  for (const Pixel c : colours) Put32(out, c);
  return out;
}

// The picture every encoding below holds: three columns, two rows.
constexpr Pixel Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF, Black = 0;
const std::vector<Pixel> Expected = {Red, Green, Blue, White, Black, Red};

std::vector<Pixel> Decoded(const std::string& file, int width = 3, int height = 2) {
  Image out;
  if (!DecodeBmpScaled(file, width, height, out)) return {};
  return out.Pixels();
}

TEST(BmpDecoder, EveryDepthAndCompressionGivesTheSamePicture) {
  const std::string palette = Palette({Red, Green, Blue, White, Black});
  // 24 bits, bottom row first, rows padded to four bytes.
  const std::string rgb24 = std::string("\xFF\xFF\xFF\0\0\0\0\0\xFF", 9) + std::string(3, '\0') +
                            std::string("\0\0\xFF\0\xFF\0\xFF\0\0", 9) + std::string(3, '\0');
  EXPECT_EQ(Decoded(Bmp(3, 2, 24, 0, "", rgb24)), Expected);
  // 32 bits top-down, and 32 bits with its own masks (blue high, red low).
  std::string top32;
  for (const Pixel p : Expected) Put32(top32, p);
  EXPECT_EQ(Decoded(Bmp(3, -2, 32, 0, "", top32)), Expected);
  std::string masked;
  for (int i : {3, 4, 5, 0, 1, 2}) {
    const Pixel p = Expected[i];
    Put32(masked, ((p & 0xFF) << 24) | (p & 0xFF00) << 8 | (p >> 16));
  }
  std::string masks;
  for (std::uint32_t m : {0x000000FFu, 0x00FF0000u, 0xFF000000u}) Put32(masks, m);
  EXPECT_EQ(Decoded(Bmp(3, 2, 32, 3, masks, masked)), Expected);
  // 16 bits as 5-5-5, each channel full or empty.
  std::string rgb16;
  for (int i : {3, 4, 5, 0, 1, 2}) {
    const Pixel p = Expected[i];
    Put16(rgb16, ((p >> 16) & 0xFF ? 0x7C00 : 0) | ((p >> 8) & 0xFF ? 0x03E0 : 0) | (p & 0xFF ? 0x1F : 0));
    if (i % 3 == 2) Put16(rgb16, 0);
  }
  EXPECT_EQ(Decoded(Bmp(3, 2, 16, 0, "", rgb16)), Expected);
  // 8 and 4 bits with a palette, plain and run-length encoded.
  EXPECT_EQ(Decoded(Bmp(3, 2, 8, 0, palette, std::string("\3\4\0\0\0\1\2\0", 8), 5)), Expected);
  EXPECT_EQ(Decoded(Bmp(3, 2, 4, 0, palette, std::string("\x34\0\0\0\x01\x20\0\0", 8), 5)), Expected);
  // RLE8: a run of one, then the rest as they are; RLE4: one run of two, one single.
  const std::string rle8 = std::string("\1\3\1\4\1\0\0\0", 8) + std::string("\0\3\0\1\2\0\0\1", 8);
  EXPECT_EQ(Decoded(Bmp(3, 2, 8, 1, palette, rle8, 5)), Expected);
  const std::string rle4 = std::string("\2\x34\1\0\0\0", 6) + std::string("\2\x01\1\x20\0\1", 6);
  EXPECT_EQ(Decoded(Bmp(3, 2, 4, 2, palette, rle4, 5)), Expected);
  // 1 bit: two colours, the first row set, the second clear.
  const std::string mono = std::string("\0\0\0\0\xE0\0\0\0", 8);
  EXPECT_EQ(Decoded(Bmp(3, 2, 1, 0, Palette({Black, White}), mono)),
            (std::vector<Pixel>{White, White, White, Black, Black, Black}));
}

TEST(BmpDecoder, ScalesByTheNearestPixelAtEachCentre) {
  std::string rows;
  for (const Pixel p : {Red, Green, Blue, White}) Put32(rows, p);  // one row, top-down
  const std::string wide = Bmp(4, -1, 32, 0, "", rows);
  EXPECT_EQ(Decoded(wide, 2, 1), (std::vector<Pixel>{Green, White}));
  EXPECT_EQ(Decoded(wide, 8, 2), (std::vector<Pixel>{Red, Red, Green, Green, Blue, Blue, White, White,
                                                      Red, Red, Green, Green, Blue, Blue, White, White}));
}

TEST(BmpDecoder, RefusesBrokenFilesAndLeavesThePictureAlone) {
  const std::string palette = Palette({Red, Green});
  const std::string fine = Bmp(3, 2, 8, 0, palette, std::string(8, '\1'), 2);
  const std::vector<std::string> broken = {
      "",
      "BM garbage",
      fine.substr(0, fine.size() - 1),                                 // the last row cut short
      Bmp(3, 2, 8, 0, palette, std::string("\1\1\2\0\0\0\0\0", 8), 2),  // an index past the palette
      Bmp(3, 2, 8, 1, palette, std::string("\4\1\0\1", 4), 2),          // a run past the row's end
      Bmp(3, 2, 8, 1, palette, std::string("\0\5\1\1", 4), 2),          // literal pixels past the file
      Bmp(3, 2, 32, 3, "", std::string(24, '\0')),                      // masks missing
  };
  for (std::size_t i = 0; i < broken.size(); ++i) {
    Image out(1, 1, 0x123456);
    out.SetColourKey(0xABCDEF);
    EXPECT_FALSE(DecodeBmpScaled(broken[i], 3, 2, out)) << i;
    EXPECT_EQ(out.Width(), 1);
    EXPECT_EQ(out.At(0, 0), 0x123456u);
  }
  Image out;
  out.SetColourKey(0xABCDEF);
  EXPECT_FALSE(DecodeBmpScaled(fine, 0, 2, out));
  EXPECT_FALSE(DecodeBmpScaled(fine, 20000, 2, out));
  ASSERT_TRUE(DecodeBmpScaled(fine, 3, 2, out));
  EXPECT_EQ(out.ColourKey(), 0xABCDEFu);
  EXPECT_EQ(out.At(2, 1), Green);
}

TEST(BmpDecoder, LoadsMediaThroughThePlatform) {
  test::FakePlatform platform;
  platform.pictures["media\\a.bmp"] = Image(2, 2, 0x345678);
  Image out;
  EXPECT_FALSE(LoadBitmap(platform, "media\\b.bmp", 2, 2, out));
  EXPECT_TRUE(out.Empty());
  ASSERT_TRUE(LoadBitmap(platform, "media\\a.bmp", 4, 1, out));
  EXPECT_EQ(out.Pixels(), std::vector<Pixel>(4, 0x345678));
}

}  // namespace
}  // namespace tavi
