#pragma once

// The BMP fuzz input is one byte choosing the size the picture is scaled to, then the file.
// The sizes are those the game asks for, then a few that stress the scaler.

#include <cstddef>

namespace tavi::fuzz {

struct BmpSize {
  int width;
  int height;
};

constexpr BmpSize BmpSizes[] = {
    {440, 65},  {32, 32},   {215, 49}, {198, 34}, {224, 56},  {512, 280}, {512, 96},
    {256, 192}, {159, 180}, {45, 72},  {64, 128}, {236, 91},  {315, 354}, {72, 18},
    {204, 63},  {184, 78},  {1, 1},    {3, 1000}, {1000, 3},  {7, 5},
};
constexpr std::size_t BmpSizeCount = sizeof BmpSizes / sizeof BmpSizes[0];

// The selector byte that asks for width x height, or -1 when the game never asks for that size.
constexpr int BmpSizeSelector(int width, int height) {
  for (std::size_t i = 0; i < BmpSizeCount; ++i) {
    if (BmpSizes[i].width == width && BmpSizes[i].height == height) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace tavi::fuzz
