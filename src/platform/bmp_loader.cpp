#include "platform/bmp_loader.h"

#include <SDL_rwops.h>
#include <SDL_surface.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "base/file_read.h"

namespace tavi {

namespace {

constexpr std::int64_t MaxSide = 16384;
// 64 MiB as 32-bit pixels; the game's largest picture has under 150 000.
constexpr std::int64_t MaxPixels = std::int64_t{1} << 24;
constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t LargestInfoHeader = 124;
// Room for the largest picture the header check lets through: four bytes a pixel (RLE needs at
// most two), the headers, a palette and row ends.
constexpr std::size_t MaxBmpFileBytes = 4 * MaxPixels + (1 << 20);

enum Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

std::uint32_t ReadU16(const unsigned char* p) { return p[0] | (p[1] << 8); }

std::uint32_t ReadU32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool ValidInfoHeaderSize(std::uint32_t size) {
  // OS/2 1.x core header, Windows BITMAPINFOHEADER and its V2..V5 extensions.
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool ValidBitCount(std::uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Checks everything the decoder will trust: signature, header sizes, dimensions, depth,
// compression, palette size, and that the pixel rows lie inside the file.
bool PlausibleHeader(const unsigned char* data, std::size_t available, std::int64_t fileSize) {
  if (available < FileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') {
    return false;
  }
  const std::int64_t dataOffset = ReadU32(data + 10);
  const std::uint32_t infoSize = ReadU32(data + 14);
  if (!ValidInfoHeaderSize(infoSize) || available < FileHeaderSize + infoSize) {
    return false;
  }
  const unsigned char* info = data + FileHeaderSize;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t planes = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = Compression::Rgb;
  std::uint32_t coloursUsed = 0;
  std::int64_t headerEnd = FileHeaderSize + infoSize;
  if (infoSize == 12) {
    width = ReadU16(info + 4);
    height = ReadU16(info + 6);
    planes = ReadU16(info + 8);
    bits = ReadU16(info + 10);
    if (bits == 16 || bits == 32) {
      return false;  // not defined for core headers
    }
  } else {
    width = static_cast<std::int32_t>(ReadU32(info + 4));
    height = static_cast<std::int32_t>(ReadU32(info + 8));
    planes = ReadU16(info + 12);
    bits = ReadU16(info + 14);
    compression = ReadU32(info + 16);
    coloursUsed = ReadU32(info + 32);
    if (infoSize == 40 && compression == Compression::BitFields) {
      headerEnd += 12;  // the three masks follow the header
    }
  }
  const bool topDown = height < 0;
  const std::int64_t rows = topDown ? -height : height;
  if (planes != 1 || !ValidBitCount(bits) || width <= 0 || width > MaxSide || rows <= 0 ||
      rows > MaxSide || width * rows > MaxPixels) {
    return false;
  }
  switch (compression) {
    case Compression::Rgb:
      break;
    case Compression::Rle8:
      if (bits != 8 || topDown) return false;
      break;
    case Compression::Rle4:
      if (bits != 4 || topDown) return false;
      break;
    case Compression::BitFields:
      if (bits != 16 && bits != 32) return false;
      break;
    default:
      return false;
  }
  if (bits <= 8 && coloursUsed > (1u << bits)) {
    return false;
  }
  if (dataOffset < headerEnd || dataOffset >= fileSize) {
    return false;
  }
  if (compression == Compression::Rgb || compression == Compression::BitFields) {
    const std::int64_t rowBytes = ((width * bits + 31) / 32) * 4;
    if (dataOffset + rowBytes * rows > fileSize) {
      return false;
    }
  }
  return true;
}

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

}  // namespace

bool BmpHeaderPlausible(const std::string& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t available = std::min(bytes.size(), FileHeaderSize + LargestInfoHeader);
  return !bytes.empty() && PlausibleHeader(data, available, static_cast<std::int64_t>(bytes.size()));
}

bool ReadBmpFile(const std::string& path, std::string& bytes) {
  std::string error;
  return ReadRegularFile(path, MaxBmpFileBytes, bytes, error);
}

bool LoadBmpScaled(const std::string& path, int width, int height, Image& out) {
  if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide ||
      static_cast<std::int64_t>(width) * height > MaxPixels) {
    return false;
  }
  std::string bytes;
  if (!ReadBmpFile(path, bytes) || !BmpHeaderPlausible(bytes)) {
    return false;
  }
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (stream == nullptr) {
    return false;
  }
  SurfacePtr decoded(SDL_LoadBMP_RW(stream, 1));
  if (!decoded) {
    return false;
  }
  SurfacePtr pixels(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGB888, 0));
  if (!pixels || SDL_LockSurface(pixels.get()) != 0) {
    return false;
  }
  const int sourceWidth = pixels->w;
  const int sourceHeight = pixels->h;
  Image scaled(width, height);
  scaled.SetColourKey(out.ColourKey());
  const auto* base = static_cast<const unsigned char*>(pixels->pixels);
  for (int y = 0; y < height; ++y) {
    // Sample at the centre of each target pixel, so shrinking keeps the picture symmetric.
    const int sy = static_cast<int>((2 * static_cast<std::int64_t>(y) + 1) * sourceHeight /
                                    (2 * static_cast<std::int64_t>(height)));
    const auto* sourceRow = reinterpret_cast<const std::uint32_t*>(base + sy * pixels->pitch);
    Pixel* targetRow = scaled.Row(y);
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>((2 * static_cast<std::int64_t>(x) + 1) * sourceWidth /
                                      (2 * static_cast<std::int64_t>(width)));
      targetRow[x] = sourceRow[sx] & 0x00FFFFFFu;
    }
  }
  SDL_UnlockSurface(pixels.get());
  out = std::move(scaled);
  return true;
}

}  // namespace tavi
