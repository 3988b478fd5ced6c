#pragma once

#include <cstdint>
#include <string>

#include "base/image.h"

namespace tavi {

// Largest side and pixel count a picture may claim; 64 MiB as 32-bit pixels, while the game's
// largest picture has under 150 000.
constexpr std::int64_t MaxBmpSide = 16384;
constexpr std::int64_t MaxBmpPixels = std::int64_t{1} << 24;

// Decodes the BMP file at `path` (a file-system path, UTF-8) and scales it nearest-neighbour to
// exactly width x height. The header is checked before anything is decoded, so a garbage or
// hostile file is refused without a large allocation. False on any failure, `out` then untouched;
// on success `out` keeps its colour key.
bool LoadBmpScaled(const std::string& path, int width, int height, Image& out);

// Whether the file at `path` has a BMP header the decoder can trust: size, depth and the pixel
// rows inside the file. Checked before SDL_LoadBMP, which allocates what the header claims.
bool BmpHeaderPlausible(const std::string& path);

}  // namespace tavi
