#pragma once

#include <cstdint>
#include <vector>

namespace mediagen {

// Pixels row by row from the top left. RGBA pictures hold straight (not premultiplied) colour
// as 0xAARRGGBB; flattened pictures hold 0x00RRGGBB.
struct RasterImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  RasterImage() = default;
  RasterImage(int w, int h, std::uint32_t fill = 0)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  void Set(int x, int y, std::uint32_t p) { pixels[static_cast<std::size_t>(y) * width + x] = p; }
};

inline int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
inline int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
inline int Blue(std::uint32_t p) { return p & 0xFF; }
inline int Alpha(std::uint32_t p) { return (p >> 24) & 0xFF; }
inline std::uint32_t Rgb(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
         static_cast<std::uint32_t>(b);
}

}  // namespace mediagen
