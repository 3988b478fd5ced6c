// Loading BMP files through the headless platform: decoding, scaling, and refusing bad files.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "platform/platform.h"

namespace tavi {
namespace {

using Bytes = std::vector<unsigned char>;

void PutU16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<unsigned char>(v);
  b[at + 1] = static_cast<unsigned char>(v >> 8);
}

void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// An uncompressed BMP with a BITMAPINFOHEADER; rows bottom-up unless topDown.
Bytes MakeBmp(int width, int height, int bits, bool topDown,
              const std::function<Pixel(int, int)>& pixelAt) {
  const std::size_t rowBytes = ((width * bits + 31) / 32) * 4;
  Bytes b(54 + rowBytes * height, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutU32(b, 2, static_cast<std::uint32_t>(b.size()));
  PutU32(b, 10, 54);
  PutU32(b, 14, 40);
  PutU32(b, 18, static_cast<std::uint32_t>(width));
  PutU32(b, 22, static_cast<std::uint32_t>(topDown ? -height : height));
  PutU16(b, 26, 1);
  PutU16(b, 28, static_cast<std::uint32_t>(bits));
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    unsigned char* out = b.data() + 54 + rowBytes * row;
    for (int x = 0; x < width; ++x) {
      const Pixel p = pixelAt(x, y);
      *out++ = static_cast<unsigned char>(p);
      *out++ = static_cast<unsigned char>(p >> 8);
      *out++ = static_cast<unsigned char>(p >> 16);
      if (bits == 32) *out++ = 0xFF;
    }
  }
  return b;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Pixel Quadrant(int x, int y, int size) {
  const bool right = x >= size / 2;
  const bool bottom = y >= size / 2;
  if (!bottom) return right ? 0x00FF00 : 0xFF0000;
  return right ? 0xFFFFFF : 0x0000FF;
}

class BmpLoading : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::unique_ptr<Platform> platform = CreatePlatform({false, true, false});
};

TEST_F(BmpLoading, ScalesDownNearestNeighbourKeepingExactColours) {
  WriteBytes("media/big.bmp", MakeBmp(100, 100, 24, false, [](int x, int y) { return Quadrant(x, y, 100); }));
  Image out;
  out.SetColourKey(ColourKeyBlack);
  ASSERT_TRUE(platform->LoadBitmap("media\\big.bmp", 32, 32, out));
  ASSERT_EQ(out.Width(), 32);
  ASSERT_EQ(out.Height(), 32);
  EXPECT_EQ(out.At(0, 0), 0xFF0000u);
  EXPECT_EQ(out.At(31, 0), 0x00FF00u);
  EXPECT_EQ(out.At(0, 31), 0x0000FFu);  // pure blue stays the colour key exactly
  EXPECT_EQ(out.At(31, 31), 0xFFFFFFu);
  EXPECT_EQ(out.At(15, 15), 0xFF0000u);
  EXPECT_EQ(out.At(16, 16), 0xFFFFFFu);
  EXPECT_EQ(out.ColourKey(), ColourKeyBlack);
}

TEST_F(BmpLoading, BottomUp24AndTopDown32GiveTheSamePicture) {
  auto pattern = [](int x, int y) { return static_cast<Pixel>(0x102030 * (x + 1) + 0x050505 * y); };
  WriteBytes("media/up.bmp", MakeBmp(5, 3, 24, false, pattern));
  WriteBytes("media/down.bmp", MakeBmp(5, 3, 32, true, pattern));
  Image up;
  Image down;
  ASSERT_TRUE(platform->LoadBitmap("media\\up.bmp", 5, 3, up));
  ASSERT_TRUE(platform->LoadBitmap("media\\down.bmp", 5, 3, down));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(up.At(x, y), pattern(x, y) & 0xFFFFFFu) << x << "," << y;
      EXPECT_EQ(down.At(x, y), up.At(x, y)) << x << "," << y;  // alpha byte dropped
    }
  }
}

TEST_F(BmpLoading, RefusesBadFilesAndLeavesTheTargetAlone) {
  const Bytes good = MakeBmp(4, 4, 24, false, [](int, int) { return Pixel{0x123456}; });
  Bytes huge = good;
  PutU32(huge, 18, 100000);
  PutU32(huge, 22, 100000);
  Bytes truncated = good;
  truncated.resize(good.size() - 5);
  Bytes badDepth = good;
  PutU16(badDepth, 28, 7);
  Bytes badOffset = good;
  PutU32(badOffset, 10, 4000);
  Bytes zeroWidth = good;
  PutU32(zeroWidth, 18, 0);
  const std::string notBmp = "\x89PNG\r\n\x1A\n this is not a bitmap at all, only some text...";
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"huge", huge},
      {"truncated", truncated},
      {"empty", Bytes{}},
      {"notbmp", Bytes(notBmp.begin(), notBmp.end())},
      {"baddepth", badDepth},
      {"badoffset", badOffset},
      {"zerowidth", zeroWidth},
      {"headeronly", Bytes(good.begin(), good.begin() + 20)},
  };
  for (const auto& [name, bytes] : files) {
    WriteBytes("media/" + name + ".bmp", bytes);
    Image out(3, 2, 0xABCDEF);
    EXPECT_FALSE(platform->LoadBitmap("media\\" + name + ".bmp", 4, 4, out)) << name;
    EXPECT_EQ(out.Width(), 3) << name;
    EXPECT_EQ(out.At(2, 1), 0xABCDEFu) << name;
  }
  WriteBytes("media/good.bmp", good);
  Image out(3, 2, 0xABCDEF);
  EXPECT_FALSE(platform->LoadBitmap("media\\missing.bmp", 4, 4, out));
  EXPECT_FALSE(platform->LoadBitmap("media\\good.bmp", 0, 4, out));
  EXPECT_EQ(out.Width(), 3);
  EXPECT_TRUE(platform->LoadBitmap("media\\good.bmp", 4, 4, out));
}

}  // namespace
}  // namespace tavi
