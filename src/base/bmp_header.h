#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavi {

// Largest side and pixel count a picture may claim; 64 MiB as 32-bit pixels, while the game's
// largest picture has under 150 000.
constexpr std::int64_t MaxBmpSide = 16384;
constexpr std::int64_t MaxBmpPixels = std::int64_t{1} << 24;
// Room for the largest picture the header check lets through: four bytes a pixel (RLE needs at
// most two), the headers, a palette and row ends. No picture file is read past this.
constexpr std::size_t MaxBmpFileBytes = 4 * MaxBmpPixels + (1 << 20);

// Whether the bytes of a file have a BMP header a decoder can trust: size, depth, compression,
// palette and the pixel rows inside the file. Checked before anything is decoded, so a garbage
// or hostile file is refused without a large allocation.
bool BmpHeaderPlausible(const std::string& bytes);

}  // namespace tavi
