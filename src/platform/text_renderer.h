#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/image.h"

typedef struct _TTF_Font TTF_Font;

namespace tavi {

// Single-line Windows-1252 text in TrueType (DejaVu Sans), anti-aliased and alpha-blended onto an
// Image. Works without any SDL subsystem initialised, so the headless platform shares it.
class TextRenderer {
 public:
  // Line height in pixels; lines drawn 16 pixels apart must not overlap.
  static constexpr int PointSize = 13;

  TextRenderer() = default;
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // Draws `text` with its top-left corner at (x, y), clipped to the target. False only when the
  // font cannot be opened.
  bool Draw(Image& target, const std::string& text, int x, int y, Pixel colour);

 private:
  // Coverage of one rendered text: alpha per pixel, row after row.
  struct Rendered {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> alpha;
  };

  bool OpenFont();
  const Rendered& Render(const std::string& text);

  bool ttfStarted_ = false;
  bool fontFailed_ = false;
  TTF_Font* font_ = nullptr;
  // The same texts come every frame; the colour is applied while blending, so it is not a key.
  std::unordered_map<std::string, Rendered> cache_;
};

}  // namespace tavi
