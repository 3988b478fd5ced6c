// Screenshots as PNG files: a file any decoder reads, with the picture's exact pixels.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "platform/platform.h"

namespace tavi {
namespace {

std::uint32_t BigEndian(const std::string& s, std::size_t at) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) << 24) |
         (static_cast<unsigned char>(s[at + 1]) << 16) | (static_cast<unsigned char>(s[at + 2]) << 8) |
         static_cast<unsigned char>(s[at + 3]);
}

struct Chunk {
  std::string type;
  std::string data;
  bool crcRight = false;
};

std::vector<Chunk> Chunks(const std::string& png) {
  std::vector<Chunk> chunks;
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    const std::uint32_t length = BigEndian(png, at);
    if (at + 12 + length > png.size()) break;
    Chunk chunk{png.substr(at + 4, 4), png.substr(at + 8, length)};
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
    chunk.crcRight = crc == BigEndian(png, at + 8 + length);
    chunks.push_back(chunk);
    at += 12 + length;
  }
  return chunks;
}

TEST(Png, WritesADecodableRgbFileOfThePicture) {
  test::TempDir dir;
  Image image(3, 2);
  const Pixel colours[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
  for (int i = 0; i < 6; ++i) image.Set(i % 3, i / 3, colours[i]);
  ASSERT_TRUE(WritePng(image, "shot.png"));

  const std::string png = test::ReadFile("shot.png");
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
  const std::vector<Chunk> chunks = Chunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");
  for (const Chunk& chunk : chunks) EXPECT_TRUE(chunk.crcRight) << chunk.type;

  const std::string& header = chunks[0].data;
  ASSERT_EQ(header.size(), 13u);
  EXPECT_EQ(BigEndian(header, 0), 3u);
  EXPECT_EQ(BigEndian(header, 4), 2u);
  EXPECT_EQ(header[8], 8);  // bits per sample
  EXPECT_EQ(header[9], 2);  // RGB

  std::vector<unsigned char> raw(2 * (1 + 3 * 3) + 16);
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(chunks[1].data.data()),
                       chunks[1].data.size()),
            Z_OK);
  ASSERT_EQ(rawSize, 2u * (1 + 3 * 3));
  for (int i = 0; i < 6; ++i) {
    const unsigned char* pixel = raw.data() + (i / 3) * 10 + 1 + (i % 3) * 3;
    EXPECT_EQ(raw[(i / 3) * 10], 0);  // filter: none
    EXPECT_EQ((pixel[0] << 16) | (pixel[1] << 8) | pixel[2], static_cast<int>(colours[i])) << i;
  }
}

TEST(Png, ReportsFailureWithoutLeavingFilesBehind) {
  test::TempDir dir;
  EXPECT_FALSE(WritePng(Image(4, 4), "no-such-directory/shot.png"));
  EXPECT_FALSE(WritePng(Image(), "empty.png"));
  EXPECT_TRUE(test::ReadFile("empty.png").empty());
  EXPECT_TRUE(WritePng(Image(4, 4), "fine.png"));
  EXPECT_FALSE(test::ReadFile("fine.png").empty());
  EXPECT_TRUE(test::ReadFile("fine.png.part").empty());
}

}  // namespace
}  // namespace tavi
