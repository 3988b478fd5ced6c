#include "flatten.h"

#include <algorithm>
#include <cstdlib>

namespace mediagen {

namespace {

// What the game clears the screen with, so unkeyed pictures blend into it.
constexpr std::uint32_t ScreenBlue = 0x0000FF;

std::uint32_t OverScreen(std::uint32_t p) {
  const int a = Alpha(p);
  const auto mix = [a](int c, int ground) { return (c * a + ground * (255 - a) + 127) / 255; };
  return Rgb(mix(Red(p), Red(ScreenBlue)), mix(Green(p), Green(ScreenBlue)),
             mix(Blue(p), Blue(ScreenBlue)));
}

// The nearest colour to the key that the game still draws.
std::uint32_t Nudge(std::uint32_t key) { return key == 0 ? 0x010101u : key ^ 1u; }

bool TouchesKey(const RasterImage& image, int x, int y, std::uint32_t key) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = x + dx;
      const int ny = y + dy;
      if ((dx != 0 || dy != 0) && nx >= 0 && ny >= 0 && nx < image.width && ny < image.height &&
          image.At(nx, ny) == key) {
        return true;
      }
    }
  }
  return false;
}

// Mean of the figure's own colours within two pixels; false when there are none.
bool FigureColourAround(const RasterImage& image, int x, int y, std::uint32_t key,
                        std::uint32_t& colour) {
  int r = 0, g = 0, b = 0, n = 0;
  for (int ny = std::max(0, y - 2); ny <= std::min(image.height - 1, y + 2); ++ny) {
    for (int nx = std::max(0, x - 2); nx <= std::min(image.width - 1, x + 2); ++nx) {
      const std::uint32_t p = image.At(nx, ny);
      if (p == key || IsNearKey(p, key)) continue;
      r += Red(p);
      g += Green(p);
      b += Blue(p);
      ++n;
    }
  }
  if (n == 0) return false;
  colour = Rgb((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n);
  return !IsNearKey(colour, key);
}

// Moves a colour just out of the key's neighbourhood with the smallest change. Near black,
// every channel is lifted alike so that grey stays grey.
std::uint32_t PushAway(std::uint32_t p, std::uint32_t key) {
  int c[3] = {Red(p), Green(p), Blue(p)};
  if (key == 0) {
    const int lift = NearKeyDistance + 1 - std::max({c[0], c[1], c[2]});
    return Rgb(c[0] + lift, c[1] + lift, c[2] + lift);
  }
  const int k[3] = {Red(key), Green(key), Blue(key)};
  int bestChannel = 0, bestValue = c[0], bestCost = 1 << 30;
  for (int i = 0; i < 3; ++i) {
    for (const int target : {k[i] - NearKeyDistance - 1, k[i] + NearKeyDistance + 1}) {
      if (target < 0 || target > 255) continue;
      const int cost = std::abs(target - c[i]);
      if (cost < bestCost) {
        bestCost = cost;
        bestChannel = i;
        bestValue = target;
      }
    }
  }
  c[bestChannel] = bestValue;
  return Rgb(c[0], c[1], c[2]);
}

}  // namespace

bool IsNearKey(std::uint32_t colour, std::uint32_t key) {
  return std::abs(Red(colour) - Red(key)) <= NearKeyDistance &&
         std::abs(Green(colour) - Green(key)) <= NearKeyDistance &&
         std::abs(Blue(colour) - Blue(key)) <= NearKeyDistance;
}

RasterImage Flatten(const RasterImage& rgba, ColourKey keyKind) {
  RasterImage flat(rgba.width, rgba.height);
  if (keyKind == ColourKey::None) {
    for (std::size_t i = 0; i < rgba.pixels.size(); ++i) flat.pixels[i] = OverScreen(rgba.pixels[i]);
    return flat;
  }

  const std::uint32_t key = KeyColour(keyKind);
  for (std::size_t i = 0; i < rgba.pixels.size(); ++i) {
    const std::uint32_t p = rgba.pixels[i];
    if (Alpha(p) < 128) {
      flat.pixels[i] = key;
    } else {
      const std::uint32_t colour = p & 0xFFFFFFu;
      flat.pixels[i] = colour == key ? Nudge(key) : colour;
    }
  }

  // Edges are judged on the flattened picture before any of them is mended, so the result does
  // not depend on the order of the pixels.
  const RasterImage before = flat;
  for (int y = 0; y < flat.height; ++y) {
    for (int x = 0; x < flat.width; ++x) {
      const std::uint32_t p = before.At(x, y);
      if (p == key || !IsNearKey(p, key) || !TouchesKey(before, x, y, key)) continue;
      std::uint32_t figure = 0;
      flat.Set(x, y, FigureColourAround(before, x, y, key, figure) ? figure : PushAway(p, key));
    }
  }
  return flat;
}

}  // namespace mediagen
