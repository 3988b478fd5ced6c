#include "base/bmp_header.h"

#include <algorithm>
#include <cstdint>

namespace tavi {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t LargestInfoHeader = 124;

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
  if (planes != 1 || !ValidBitCount(bits) || width <= 0 || width > MaxBmpSide || rows <= 0 ||
      rows > MaxBmpSide || width * rows > MaxBmpPixels) {
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

}  // namespace

bool BmpHeaderPlausible(const std::string& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t available = std::min(bytes.size(), FileHeaderSize + LargestInfoHeader);
  return !bytes.empty() && PlausibleHeader(data, available, static_cast<std::int64_t>(bytes.size()));
}

}  // namespace tavi
