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
// exactly width x height. Only a regular file of a size the header check can allow is read, and
// the header is checked before anything is decoded, so a garbage or hostile file is refused
// without a large allocation. False on any failure, `out` then untouched; on success `out` keeps
// its colour key.
bool LoadBmpScaled(const std::string& path, int width, int height, Image& out);

// Reads a picture file whole: false for anything but a regular file no larger than the largest
// picture the loader accepts.
bool ReadBmpFile(const std::string& path, std::string& bytes);

// Whether the bytes of a file have a BMP header the decoder can trust: size, depth and the pixel
// rows inside the file. Checked before SDL_LoadBMP_RW, which allocates what the header claims.
bool BmpHeaderPlausible(const std::string& bytes);

// The bytes of a picture to be scaled to width x height: false for a target size out of bounds, a
// file ReadBmpFile refuses, or a header BmpHeaderPlausible does not trust.
bool ReadPlausibleBmp(const std::string& path, int width, int height, std::string& bytes);

}  // namespace tavi
