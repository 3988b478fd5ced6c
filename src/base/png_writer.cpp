#include "base/png_writer.h"

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/cp1252.h"
#include "base/translate.h"

namespace tavi {

namespace {

void AppendU32(std::vector<unsigned char>& out, std::uint32_t value) {
  out.push_back(static_cast<unsigned char>(value >> 24));
  out.push_back(static_cast<unsigned char>(value >> 16));
  out.push_back(static_cast<unsigned char>(value >> 8));
  out.push_back(static_cast<unsigned char>(value));
}

void AppendChunk(std::vector<unsigned char>& out, const char* type,
                 const std::vector<unsigned char>& data) {
  AppendU32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeStart = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  // The CRC covers the chunk type and its data.
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), out.data() + typeStart,
                          static_cast<uInt>(out.size() - typeStart));
  AppendU32(out, static_cast<std::uint32_t>(crc));
}

bool EncodePng(const Image& image, std::vector<unsigned char>& png) {
  const int width = image.Width();
  const int height = image.Height();
  // Each row: filter type 0 (none), then red, green, blue.
  const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * 3;
  std::vector<unsigned char> raw(rowBytes * height);
  for (int y = 0; y < height; ++y) {
    unsigned char* out = raw.data() + rowBytes * y;
    *out++ = 0;
    const Pixel* row = image.Row(y);
    for (int x = 0; x < width; ++x) {
      *out++ = static_cast<unsigned char>(row[x] >> 16);
      *out++ = static_cast<unsigned char>(row[x] >> 8);
      *out++ = static_cast<unsigned char>(row[x]);
    }
  }
  uLongf compressedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> compressed(compressedSize);
  if (compress2(compressed.data(), &compressedSize, raw.data(), static_cast<uLong>(raw.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    return false;
  }
  compressed.resize(compressedSize);

  std::vector<unsigned char> header;
  AppendU32(header, static_cast<std::uint32_t>(width));
  AppendU32(header, static_cast<std::uint32_t>(height));
  header.push_back(8);  // bits per sample
  header.push_back(2);  // colour type: RGB
  header.push_back(0);  // deflate
  header.push_back(0);  // adaptive filtering
  header.push_back(0);  // no interlace

  static const unsigned char Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png.assign(Signature, Signature + 8);
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", compressed);
  AppendChunk(png, "IEND", {});
  return true;
}

}  // namespace

bool WritePng(const Image& image, const std::string& path, std::string& error) {
  std::vector<unsigned char> png;
  if (image.Empty() || path.empty() || !EncodePng(image, png)) {
    error = FillIn(Translate("%s: kein Bild"), {FileNameText(path)});  // nothing to encode
    return false;
  }
  return WriteFileAtomically(path, png.data(), png.size(), error);
}

}  // namespace tavi
