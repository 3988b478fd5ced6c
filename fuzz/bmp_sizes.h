#pragma once

// The BMP fuzz input is one byte choosing the size the picture is scaled to, then the file.
// The sizes are those the game asks for, then a few that stress the scaler.

#include <array>
#include <cstddef>

#include "base/media_manifest.h"

namespace tavi::fuzz {

struct BmpSize {
  int width;
  int height;
};

constexpr BmpSize StressSizes[] = {{1, 1}, {3, 1000}, {1000, 3}, {7, 5}};

// The game's picture sizes, each once, in the manifest's order; unused places stay 0 x 0.
constexpr std::array<BmpSize, std::size(media::Pictures)> GameSizes() {
  std::array<BmpSize, std::size(media::Pictures)> sizes{};
  std::size_t count = 0;
  for (const media::Picture* p : media::Pictures) {
    bool seen = false;
    for (std::size_t i = 0; i < count; ++i) seen = seen || (sizes[i].width == p->width && sizes[i].height == p->height);
    if (!seen) sizes[count++] = {p->width, p->height};
  }
  return sizes;
}

constexpr std::size_t GameSizeCount() {
  std::size_t count = 0;
  for (const BmpSize& size : GameSizes()) count += size.width != 0;
  return count;
}

constexpr std::size_t BmpSizeCount = GameSizeCount() + std::size(StressSizes);

constexpr std::array<BmpSize, BmpSizeCount> AllBmpSizes() {
  std::array<BmpSize, BmpSizeCount> sizes{};
  const auto game = GameSizes();
  for (std::size_t i = 0; i < GameSizeCount(); ++i) sizes[i] = game[i];
  for (std::size_t i = 0; i < std::size(StressSizes); ++i) sizes[GameSizeCount() + i] = StressSizes[i];
  return sizes;
}

inline constexpr std::array<BmpSize, BmpSizeCount> BmpSizes = AllBmpSizes();

// The selector byte that asks for width x height, or -1 when the game never asks for that size.
constexpr int BmpSizeSelector(int width, int height) {
  for (std::size_t i = 0; i < BmpSizeCount; ++i) {
    if (BmpSizes[i].width == width && BmpSizes[i].height == height) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace tavi::fuzz
