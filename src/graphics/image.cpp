#include "graphics/image.h"

#include <algorithm>
#include <cstring>

namespace tavi {

Image::Image(int width, int height, Pixel fill)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(static_cast<std::size_t>(width_) * height_, fill) {}

void Image::Fill(Pixel p) {
  // One row by hand, then ever larger copies of what is filled: memcpy uses the widest stores
  // the processor has, which a plain loop compiled for the baseline instruction set cannot.
  if (pixels_.empty()) return;
  const std::size_t total = pixels_.size();
  std::size_t done = std::min<std::size_t>(total, 1024);
  std::fill(pixels_.begin(), pixels_.begin() + static_cast<std::ptrdiff_t>(done), p);
  while (done < total) {
    const std::size_t chunk = std::min(done, total - done);
    std::memcpy(pixels_.data() + done, pixels_.data(), chunk * sizeof(Pixel));
    done += chunk;
  }
}

namespace {

// Copies one row, skipping pixels equal to the key. Written as a select so that the compiler
// can vectorise it (load, compare, blend, store); built for AVX2 too, chosen at run time.
__attribute__((target_clones("avx2", "default"))) void CopyKeyedRow(Pixel* __restrict dst, const Pixel* __restrict src, int count, Pixel key) {
  for (int i = 0; i < count; ++i) {
    const Pixel s = src[i];
    dst[i] = (s == key) ? dst[i] : s;
  }
}

}  // namespace

bool BltFast(Image& dst, int x, int y, const Image& src, const Rect* rect, bool keyed) {
  const Rect r = rect ? *rect : Rect{0, 0, src.Width(), src.Height()};
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  if (r.left < 0 || r.top < 0 || r.right > src.Width() || r.bottom > src.Height()) return false;
  if (x < 0 || y < 0 || x > dst.Width() - w || y > dst.Height() - h) return false;

  if (keyed) {
    const Pixel key = src.ColourKey();
    for (int row = 0; row < h; ++row) {
      CopyKeyedRow(dst.Row(y + row) + x, src.Row(r.top + row) + r.left, w, key);
    }
  } else {
    const std::size_t bytes = static_cast<std::size_t>(w) * sizeof(Pixel);
    for (int row = 0; row < h; ++row) {
      std::memcpy(dst.Row(y + row) + x, src.Row(r.top + row) + r.left, bytes);
    }
  }
  return true;
}

}  // namespace tavi
