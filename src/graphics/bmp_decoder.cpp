#include "graphics/bmp_decoder.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/bmp_header.h"
#include "platform/platform.h"

namespace tavi {

namespace {

constexpr std::size_t FileHeaderSize = 14;

enum Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

std::uint32_t ReadU16(const unsigned char* p) { return p[0] | (p[1] << 8); }

std::uint32_t ReadU32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One colour channel of a 16- or 32-bit pixel: where it lies, widened to 8 bits when read.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (mask == 0) return;
    while (((mask >> shift) & 1u) == 0) ++shift;
    max = mask >> shift;
  }
  Pixel Read(std::uint32_t value) const {
    if (max == 0) return 0;
    const std::uint64_t v = (value & mask) >> shift;
    return static_cast<Pixel>((v * 255 + max / 2) / max);
  }
};

// What the decoder needs of a file whose header BmpHeaderPlausible accepted.
class BmpPicture {
 public:
  // False for a palette or colour masks outside the file.
  bool Read(const std::string& bytes) {
    data_ = reinterpret_cast<const unsigned char*>(bytes.data());
    size_ = bytes.size();
    const unsigned char* info = data_ + FileHeaderSize;
    const std::uint32_t infoSize = ReadU32(info);
    std::uint32_t coloursUsed = 0;
    if (infoSize == 12) {
      width_ = ReadU16(info + 4);
      rows_ = ReadU16(info + 6);
      bits_ = ReadU16(info + 10);
    } else {
      width_ = static_cast<std::int32_t>(ReadU32(info + 4));
      const std::int64_t height = static_cast<std::int32_t>(ReadU32(info + 8));
      topDown_ = height < 0;
      rows_ = topDown_ ? -height : height;
      bits_ = ReadU16(info + 14);
      compression_ = ReadU32(info + 16);
      coloursUsed = ReadU32(info + 32);
    }
    offset_ = ReadU32(data_ + 10);
    rowBytes_ = static_cast<std::size_t>((width_ * bits_ + 31) / 32) * 4;
    std::size_t tables = FileHeaderSize + infoSize;  // the masks or the palette follow the header
    if (compression_ == BitFields) {
      const std::size_t masksAt = infoSize == 40 ? tables : FileHeaderSize + 40;
      if (masksAt + 12 > size_) return false;
      red_ = Channel(ReadU32(data_ + masksAt));
      green_ = Channel(ReadU32(data_ + masksAt + 4));
      blue_ = Channel(ReadU32(data_ + masksAt + 8));
    } else if (bits_ == 16) {
      red_ = Channel(0x7C00);
      green_ = Channel(0x03E0);
      blue_ = Channel(0x001F);
    } else if (bits_ == 32) {
      red_ = Channel(0xFF0000);
      green_ = Channel(0x00FF00);
      blue_ = Channel(0x0000FF);
    }
    if (bits_ <= 8) {
      const std::size_t count = coloursUsed != 0 ? coloursUsed : std::size_t{1} << bits_;
      const std::size_t entry = infoSize == 12 ? 3 : 4;
      if (tables + count * entry > size_) return false;
      for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* p = data_ + tables + i * entry;
        palette_.push_back((static_cast<Pixel>(p[2]) << 16) | (p[1] << 8) | p[0]);
      }
    }
    return compression_ == Rgb || compression_ == BitFields || Unpack();
  }

  // False when a palette index lies outside the palette: the whole picture is refused.
  bool IndicesValid() const {
    if (bits_ > 8) return true;
    if (!indices_.empty()) {
      for (const std::uint8_t index : indices_) {
        if (index >= palette_.size()) return false;
      }
      return true;
    }
    for (std::int64_t y = 0; y < rows_; ++y) {
      for (std::int64_t x = 0; x < width_; ++x) {
        if (Index(x, y) >= palette_.size()) return false;
      }
    }
    return true;
  }

  std::int64_t Width() const { return width_; }
  std::int64_t Rows() const { return rows_; }

  // The colours of row y (counted from the top) at the given columns; the common 24-bit row
  // without a test per pixel.
  void ReadRow(std::int64_t y, const std::vector<std::int64_t>& columns, Pixel* out) const {
    if (bits_ != 24) {
      for (std::size_t x = 0; x < columns.size(); ++x) out[x] = At(columns[x], y);
      return;
    }
    const unsigned char* row = FileRow(topDown_ ? y : rows_ - 1 - y);
    if (static_cast<std::int64_t>(columns.size()) == width_) {  // every column, as most pictures are drawn
      for (std::size_t x = 0; x < columns.size(); ++x, row += 3) out[x] = (static_cast<Pixel>(row[2]) << 16) | (row[1] << 8) | row[0];
      return;
    }
    for (std::size_t x = 0; x < columns.size(); ++x) {
      const unsigned char* p = row + columns[x] * 3;
      out[x] = (static_cast<Pixel>(p[2]) << 16) | (p[1] << 8) | p[0];
    }
  }

  // The colour at column x of row y, rows counted from the top.
  Pixel At(std::int64_t x, std::int64_t y) const {
    if (bits_ <= 8) return palette_[Index(x, topDown_ ? y : rows_ - 1 - y)];
    const unsigned char* p = FileRow(topDown_ ? y : rows_ - 1 - y) + x * (bits_ / 8);
    if (bits_ == 24) return (static_cast<Pixel>(p[2]) << 16) | (p[1] << 8) | p[0];
    const std::uint32_t value = bits_ == 16 ? ReadU16(p) : ReadU32(p);
    return (red_.Read(value) << 16) | (green_.Read(value) << 8) | blue_.Read(value);
  }

 private:
  const unsigned char* FileRow(std::int64_t fileRow) const {
    return data_ + offset_ + static_cast<std::size_t>(fileRow) * rowBytes_;
  }

  // The palette index at column x of the row stored `fileRow`th in the file.
  std::uint32_t Index(std::int64_t x, std::int64_t fileRow) const {
    if (!indices_.empty()) return indices_[static_cast<std::size_t>(fileRow * width_ + x)];
    const unsigned char* row = FileRow(fileRow);
    switch (bits_) {
      case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
      case 4:
        return (row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 15u;
      default:
        return row[x];
    }
  }

  // Run-length encoded pixels, in file row order; false for a run that leaves the picture.
  bool Unpack() {
    indices_.assign(static_cast<std::size_t>(width_ * rows_), 0);
    const unsigned char* p = data_ + offset_;
    const unsigned char* end = data_ + size_;
    std::int64_t x = 0;
    std::int64_t y = 0;
    auto put = [&](std::uint32_t index) {
      if (x >= width_ || y >= rows_) return false;
      indices_[static_cast<std::size_t>(y * width_ + x)] = static_cast<std::uint8_t>(index);
      ++x;
      return true;
    };
    while (end - p >= 2) {
      const unsigned count = p[0];
      const unsigned value = p[1];
      p += 2;
      if (count != 0) {  // `count` pixels of one byte's colours
        for (unsigned i = 0; i < count; ++i) {
          const std::uint32_t index = bits_ == 8 ? value : ((i & 1) != 0 ? value & 15 : value >> 4);
          if (!put(index)) return false;
        }
      } else if (value == 0) {  // end of the row
        x = 0;
        ++y;
      } else if (value == 1) {  // end of the picture
        break;
      } else if (value == 2) {  // a jump right and up
        if (end - p < 2) return false;
        x += p[0];
        y += p[1];
        p += 2;
      } else {  // `value` pixels as they are, padded to an even number of bytes
        const std::size_t bytes = bits_ == 8 ? value : (value + 1) / 2;
        if (static_cast<std::size_t>(end - p) < bytes) return false;
        for (unsigned i = 0; i < value; ++i) {
          const std::uint32_t index = bits_ == 8 ? p[i] : ((i & 1) != 0 ? p[i / 2] & 15 : p[i / 2] >> 4);
          if (!put(index)) return false;
        }
        p += bytes + (bytes & 1);
      }
    }
    return true;
  }

  const unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
  std::int64_t width_ = 0;
  std::int64_t rows_ = 0;
  bool topDown_ = false;
  std::uint32_t bits_ = 0;
  std::uint32_t compression_ = Rgb;
  std::size_t offset_ = 0;
  std::size_t rowBytes_ = 0;
  Channel red_;
  Channel green_;
  Channel blue_;
  std::vector<Pixel> palette_;
  std::vector<std::uint8_t> indices_;  // run-length encoded pictures, unpacked
};

}  // namespace

bool DecodeBmpScaled(const std::string& bytes, int width, int height, Image& out) {
  if (width <= 0 || height <= 0 || width > MaxBmpSide || height > MaxBmpSide ||
      static_cast<std::int64_t>(width) * height > MaxBmpPixels || !BmpHeaderPlausible(bytes)) {
    return false;
  }
  BmpPicture picture;
  if (!picture.Read(bytes) || !picture.IndicesValid()) return false;
  Image scaled(width, height);
  scaled.SetColourKey(out.ColourKey());
  // Sample at the centre of each target pixel, so shrinking keeps the picture symmetric.
  std::vector<std::int64_t> columns(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x) {
    columns[static_cast<std::size_t>(x)] = (2 * static_cast<std::int64_t>(x) + 1) * picture.Width() / (2 * std::int64_t{width});
  }
  for (int y = 0; y < height; ++y) {
    const std::int64_t sy = (2 * static_cast<std::int64_t>(y) + 1) * picture.Rows() / (2 * std::int64_t{height});
    picture.ReadRow(sy, columns, scaled.Row(y));
  }
  out = std::move(scaled);
  return true;
}

bool LoadBitmap(Platform& platform, const std::string& mediaName, int width, int height, Image& out) {
  std::string bytes;
  std::string error;
  return platform.ReadMedia(mediaName, MaxBmpFileBytes, bytes, error) && DecodeBmpScaled(bytes, width, height, out);
}

}  // namespace tavi
