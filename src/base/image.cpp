#include "base/image.h"

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
  Changed();
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

void Image::FindRuns() const {
  runRows_.assign(1, 0);
  runs_.clear();
  for (int y = 0; y < height_; ++y) {
    const Pixel* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
    for (int x = 0; x < width_;) {
      while (x < width_ && row[x] == key_) ++x;
      const int begin = x;
      while (x < width_ && row[x] != key_) ++x;
      if (x > begin) runs_.push_back({static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(x)});
    }
    runRows_.push_back(static_cast<std::uint32_t>(runs_.size()));
  }
}

Image::RunRange Image::Runs(int y) const {
  if (runRows_.empty()) FindRuns();
  return {runs_.data() + runRows_[y], runs_.data() + runRows_[y + 1]};
}

bool BltFast(Image& dst, int x, int y, const Image& src, const Rect* rect, bool keyed) {
  const Rect r = rect ? *rect : Rect{0, 0, src.Width(), src.Height()};
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  if (r.left < 0 || r.top < 0 || r.right > src.Width() || r.bottom > src.Height()) return false;
  if (x < 0 || y < 0 || x > dst.Width() - w || y > dst.Height() - h) return false;

  if (keyed) {
    // Only the runs of picture are copied: the key's pixels are neither compared nor touched.
    const std::uint32_t left = static_cast<std::uint32_t>(r.left);
    const std::uint32_t right = static_cast<std::uint32_t>(r.right);
    // The frame's rows are found once: asking for a row of a picture forgets its runs, and the
    // picture may be the frame itself.
    Pixel* const first = dst.Row(y) + x;
    for (int row = 0; row < h; ++row) {
      Pixel* to = first + static_cast<std::size_t>(row) * dst.Width();
      const Pixel* from = src.Row(r.top + row);
      for (const Image::Run& run : src.Runs(r.top + row)) {
        const std::uint32_t begin = std::max(run.begin, left);
        const std::uint32_t end = std::min(run.end, right);
        if (begin < end) std::memmove(to + (begin - left), from + begin, (end - begin) * sizeof(Pixel));
      }
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
