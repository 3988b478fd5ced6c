#pragma once

#include <cstdint>
#include <vector>

namespace tavi {

// Pixel format of every picture and of the back buffer: 0x00RRGGBB, blue in the low byte.
using Pixel = std::uint32_t;

constexpr Pixel ColourKeyBlue = 0x0000FF;
constexpr Pixel ColourKeyBlack = 0x000000;

// A rectangle of pixel columns left..right-1 and rows top..bottom-1.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// A picture held in memory: width x height pixels, rows top to bottom, with an optional colour key.
// A keyed copy from a picture remembers where its pixels other than the key lie; every non-const
// accessor forgets that, so change pixels only through a pointer or reference just obtained.
class Image {
 public:
  Image() = default;
  Image(int width, int height, Pixel fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  Pixel* Row(int y) {
    Changed();
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  const Pixel* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  Pixel At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, Pixel p) { Row(y)[x] = p; }
  std::vector<Pixel>& Pixels() {
    Changed();
    return pixels_;
  }
  const std::vector<Pixel>& Pixels() const { return pixels_; }

  void Fill(Pixel p);

  void SetColourKey(Pixel key) {
    Changed();
    key_ = key;
  }
  Pixel ColourKey() const { return key_; }

  // A run of pixels other than the colour key: columns begin..end-1 of one row.
  struct Run {
    std::uint32_t begin;
    std::uint32_t end;
  };
  struct RunRange {
    const Run* first;
    const Run* last;
    const Run* begin() const { return first; }
    const Run* end() const { return last; }
  };
  // The runs of row y, left to right; found on first use after a change.
  RunRange Runs(int y) const;

 private:
  void Changed() {
    if (!runRows_.empty()) {
      runRows_.clear();
      runs_.clear();
    }
  }
  void FindRuns() const;

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
  Pixel key_ = ColourKeyBlue;
  // Row y's runs are runs_[runRows_[y]] up to runs_[runRows_[y + 1]]; empty until first needed.
  mutable std::vector<std::uint32_t> runRows_;
  mutable std::vector<Run> runs_;
};

// Copies `rect` of `src` (the whole picture when rect is null) to (x, y) of `dst`. Refuses, drawing
// nothing and returning false, an empty rectangle, a rectangle not wholly inside `src` or a
// destination not wholly inside `dst`. With `keyed`, source pixels equal to src's colour key are
// skipped.
bool BltFast(Image& dst, int x, int y, const Image& src, const Rect* rect, bool keyed);

}  // namespace tavi
