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

PlatformOptions Headless() {
  PlatformOptions options;
  options.headless = true;
  return options;
}

using Bytes = std::vector<unsigned char>;

void Put(Bytes& b, std::size_t at, std::uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// An uncompressed BMP with a BITMAPINFOHEADER; rows bottom-up unless topDown.
Bytes MakeBmp(int width, int height, int bits, bool topDown, const std::function<Pixel(int, int)>& pixelAt) {
  const std::size_t rowBytes = ((width * bits + 31) / 32) * 4;
  Bytes b(54 + rowBytes * height, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put(b, 2, static_cast<std::uint32_t>(b.size()));
  Put(b, 10, 54);
  Put(b, 14, 40);
  Put(b, 18, static_cast<std::uint32_t>(width));
  Put(b, 22, static_cast<std::uint32_t>(topDown ? -height : height));
  Put(b, 26, 1, 2);
  Put(b, 28, static_cast<std::uint32_t>(bits), 2);
  for (int row = 0; row < height; ++row) {
    for (int x = 0; x < width; ++x) {
      const Pixel p = pixelAt(x, topDown ? row : height - 1 - row);
      Put(b, 54 + rowBytes * row + x * bits / 8, bits == 32 ? 0xFF000000u | p : p, bits / 8);
    }
  }
  return b;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class BmpLoading : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::unique_ptr<Platform> platform = CreatePlatform(Headless());
};

TEST_F(BmpLoading, ScalesDownNearestNeighbourKeepingExactColours) {
  // Four quadrants: red, green above blue, white.
  const auto quadrant = [](int x, int y) {
    const Pixel colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    return colours[(x >= 50) + 2 * (y >= 50)];
  };
  WriteBytes("media/big.bmp", MakeBmp(100, 100, 24, false, quadrant));
  Image out;
  out.SetColourKey(ColourKeyBlack);
  ASSERT_TRUE(platform->LoadBitmap("media\\big.bmp", 32, 32, out));
  ASSERT_EQ(out.Width(), 32);
  ASSERT_EQ(out.Height(), 32);
  for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}, {15, 15}, {16, 16}})
    EXPECT_EQ(out.At(x, y), quadrant(x * 100 / 32, y * 100 / 32)) << x << "," << y;  // pure blue stays the key exactly
  EXPECT_EQ(out.ColourKey(), ColourKeyBlack);

  // Bottom-up 24 bits and top-down 32 bits (alpha dropped) give the same picture.
  auto pattern = [](int x, int y) { return static_cast<Pixel>(0x102030 * (x + 1) + 0x050505 * y) & 0xFFFFFFu; };
  WriteBytes("media/up.bmp", MakeBmp(5, 3, 24, false, pattern));
  WriteBytes("media/down.bmp", MakeBmp(5, 3, 32, true, pattern));
  for (const char* name : {"media\\up.bmp", "media\\down.bmp"}) {
    ASSERT_TRUE(platform->LoadBitmap(name, 5, 3, out)) << name;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(out.At(x, y), pattern(x, y)) << name << " " << x << "," << y;
  }
}

TEST_F(BmpLoading, RefusesBadFilesAndLeavesTheTargetAlone) {
  const Bytes good = MakeBmp(4, 4, 24, false, [](int, int) { return Pixel{0x123456}; });
  const auto changed = [&](std::size_t at, std::uint32_t v, int bytes) {
    Bytes b = good;
    Put(b, at, v, bytes);
    return b;
  };
  Bytes huge = changed(18, 100000, 4);
  Put(huge, 22, 100000);
  const std::string notBmp = "\x89PNG\r\n\x1A\n this is not a bitmap at all, only some text...";
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"huge", huge},
      {"truncated", Bytes(good.begin(), good.end() - 5)},
      {"empty", Bytes{}},
      {"notbmp", Bytes(notBmp.begin(), notBmp.end())},
      {"baddepth", changed(28, 7, 2)},
      {"badoffset", changed(10, 4000, 4)},
      {"zerowidth", changed(18, 0, 4)},
      {"headeronly", Bytes(good.begin(), good.begin() + 20)},
      {"good", good},
  };
  for (const auto& [name, bytes] : files) {
    WriteBytes("media/" + name + ".bmp", bytes);
    Image out(3, 2, 0xABCDEF);
    const bool wanted = name == "good";
    EXPECT_EQ(platform->LoadBitmap("media\\" + name + ".bmp", 4, 4, out), wanted) << name;
    EXPECT_EQ(out.Width(), wanted ? 4 : 3) << name;
    EXPECT_EQ(out.At(2, 1), wanted ? 0x123456u : 0xABCDEFu) << name;
  }
  Image out(3, 2, 0xABCDEF);
  EXPECT_FALSE(platform->LoadBitmap("media\\missing.bmp", 4, 4, out));
  EXPECT_FALSE(platform->LoadBitmap("media\\good.bmp", 0, 4, out));
  EXPECT_EQ(out.Width(), 3);
}

}  // namespace
}  // namespace tavi
