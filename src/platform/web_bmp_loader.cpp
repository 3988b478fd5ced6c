#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/bmp_loader.h"

namespace tavi {

namespace {

std::uint32_t ReadU32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

// The browser has no SDL to decode with: uncompressed 24- and 32-bit pictures, which are what the
// game's media are, are read here; any other kind is refused like a broken file.
bool LoadBmpScaled(const std::string& path, int width, int height, Image& out) {
  std::string bytes;
  if (!ReadPlausibleBmp(path, width, height, bytes)) {
    return false;
  }
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* info = data + 14;
  const std::uint32_t infoSize = ReadU32(info);
  if (infoSize < 40) return false;
  const std::int32_t sourceWidth = static_cast<std::int32_t>(ReadU32(info + 4));
  const std::int32_t signedHeight = static_cast<std::int32_t>(ReadU32(info + 8));
  const int bits = info[14] | (info[15] << 8);
  if (ReadU32(info + 16) != 0 || (bits != 24 && bits != 32)) return false;
  const bool topDown = signedHeight < 0;
  const std::int64_t sourceHeight = topDown ? -static_cast<std::int64_t>(signedHeight) : signedHeight;
  const std::size_t rowBytes = ((static_cast<std::size_t>(sourceWidth) * bits + 31) / 32) * 4;
  const std::size_t offset = ReadU32(data + 10);
  const int bytesPerPixel = bits / 8;

  Image scaled(width, height);
  scaled.SetColourKey(out.ColourKey());
  for (int y = 0; y < height; ++y) {
    // Sample at the centre of each target pixel, as the desktop's loader does.
    const std::int64_t sy = (2 * static_cast<std::int64_t>(y) + 1) * sourceHeight / (2 * static_cast<std::int64_t>(height));
    const std::int64_t fileRow = topDown ? sy : sourceHeight - 1 - sy;
    const unsigned char* sourceRow = data + offset + fileRow * rowBytes;
    Pixel* targetRow = scaled.Row(y);
    for (int x = 0; x < width; ++x) {
      const std::int64_t sx = (2 * static_cast<std::int64_t>(x) + 1) * sourceWidth / (2 * static_cast<std::int64_t>(width));
      const unsigned char* p = sourceRow + sx * bytesPerPixel;
      targetRow[x] = (static_cast<Pixel>(p[2]) << 16) | (p[1] << 8) | p[0];
    }
  }
  out = std::move(scaled);
  return true;
}

}  // namespace tavi
