#include "bmp_writer.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace mediagen {

namespace {

void Put16(std::vector<unsigned char>& out, std::uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t PixelsPerMetre = 2835;  // 72 dpi

bool WriteBmpWithDepth(const std::string& file, const RasterImage& image, std::uint32_t bytesPerPixel,
                       std::string& error) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
    error = file + ": no picture to write";
    return false;
  }
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.width) * bytesPerPixel + 3) & ~3u;
  const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(image.height);
  const std::uint32_t offset = FileHeaderSize + InfoHeaderSize;

  std::vector<unsigned char> out;
  out.reserve(offset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + pixelBytes);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, InfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(image.width));
  Put32(out, static_cast<std::uint32_t>(image.height));  // positive: bottom row first
  Put16(out, 1);                                         // planes
  Put16(out, bytesPerPixel * 8);                         // bits per pixel
  Put32(out, 0);                                         // no compression
  Put32(out, pixelBytes);
  Put32(out, PixelsPerMetre);
  Put32(out, PixelsPerMetre);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t p = image.At(x, y);
      out.push_back(static_cast<unsigned char>(Blue(p)));
      out.push_back(static_cast<unsigned char>(Green(p)));
      out.push_back(static_cast<unsigned char>(Red(p)));
      if (bytesPerPixel == 4) out.push_back(static_cast<unsigned char>(Alpha(p)));
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(image.width) * bytesPerPixel; pad < rowBytes; ++pad) {
      out.push_back(0);
    }
  }

  // Written beside the target and renamed, so an interrupted run never leaves half a picture.
  const std::string temp = file + ".part";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) {
    error = "cannot write " + file + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    error = "cannot write " + file + ": " + std::strerror(written ? errno : writeErrno);
    std::remove(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), file.c_str()) != 0) {
    error = "cannot write " + file + ": " + std::strerror(errno);
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool WriteBmp(const std::string& file, const RasterImage& image, std::string& error) {
  return WriteBmpWithDepth(file, image, 3, error);
}

bool WriteBmpWithAlpha(const std::string& file, const RasterImage& image, std::string& error) {
  return WriteBmpWithDepth(file, image, 4, error);
}

}  // namespace mediagen
