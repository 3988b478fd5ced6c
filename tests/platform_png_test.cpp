// Screenshots as PNG files: a file any decoder reads, with the picture's exact pixels.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/png_writer.h"
#include "fake_platform.h"
#include "platform/platform.h"

namespace tavi {
namespace {

std::uint32_t BigEndian(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

TEST(Png, WritesADecodableRgbFileOfThePictureAndFailuresLeaveNothingBehind) {
  test::TempDir dir;
  Image image(3, 2);
  const Pixel colours[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
  for (int i = 0; i < 6; ++i) image.Set(i % 3, i / 3, colours[i]);
  std::string error;
  ASSERT_TRUE(WritePng(image, "shot.png", error)) << error;

  const std::string png = test::ReadFile("shot.png");
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
  std::vector<std::string> types, data;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = BigEndian(png, at);
    ASSERT_LE(at + 12 + length, png.size());
    types.push_back(png.substr(at + 4, 4));
    data.push_back(png.substr(at + 8, length));
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
    EXPECT_EQ(crc, BigEndian(png, at + 8 + length)) << types.back();
    at += 12 + length;
  }
  ASSERT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  ASSERT_EQ(data[0].size(), 13u);
  EXPECT_EQ(BigEndian(data[0], 0), 3u);
  EXPECT_EQ(BigEndian(data[0], 4), 2u);
  EXPECT_EQ(data[0].substr(8, 2), "\x08\x02");  // 8 bits per sample, RGB

  std::vector<unsigned char> raw(2 * (1 + 3 * 3) + 16);
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(data[1].data()), data[1].size()), Z_OK);
  ASSERT_EQ(rawSize, 2u * (1 + 3 * 3));
  for (int i = 0; i < 6; ++i) {
    const unsigned char* pixel = raw.data() + (i / 3) * 10 + 1 + (i % 3) * 3;
    EXPECT_EQ(raw[(i / 3) * 10], 0);  // filter: none
    EXPECT_EQ((pixel[0] << 16) | (pixel[1] << 8) | pixel[2], static_cast<int>(colours[i])) << i;
  }

  EXPECT_FALSE(WritePng(Image(4, 4), "no-such-directory/shot.png", error));
  EXPECT_NE(error.find("no-such-directory/shot.png"), std::string::npos) << error;
  EXPECT_FALSE(WritePng(Image(), "empty.png", error));
  EXPECT_TRUE(test::ReadFile("empty.png").empty());
}

}  // namespace
}  // namespace tavi
