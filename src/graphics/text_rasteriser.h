#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/image.h"

namespace tavi {

// Single-line Windows-1252 text in a TrueType font (DejaVu Sans), anti-aliased and alpha-blended
// onto an Image: white coverage on a transparent ground, tinted while blending. The same code in
// every build, so the desktop's and the browser's frames have the same text pixels. stb_truetype
// does the rasterising: a header of Debian's libstb-dev that emscripten compiles as it is, where
// FreeType would need a port downloaded at build time.
class TextRasteriser {
 public:
  // The font's size: pixels to the em (points at 72 dpi). Lines drawn 16 pixels apart do not
  // overlap.
  static constexpr int PointSize = 13;
  // No font file the game uses comes near this; a larger one is refused unread.
  static constexpr std::size_t MaxFontBytes = std::size_t{32} << 20;

  struct Font;  // the font's tables and measures

  TextRasteriser();
  ~TextRasteriser();
  TextRasteriser(const TextRasteriser&) = delete;
  TextRasteriser& operator=(const TextRasteriser&) = delete;

  // Takes the bytes of a TrueType file; false when they hold no font.
  bool UseFont(std::string fontBytes);
  bool HasFont() const { return font_ != nullptr; }

  // Draws `text` with its top-left corner at (x, y), clipped to the target; nothing without a font.
  void Draw(Image& target, const std::string& text, int x, int y, Pixel colour);

 private:
  // Coverage of one rendered text: alpha per pixel, row after row.
  struct Rendered {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> alpha;
  };
  const Rendered& Render(const std::string& text);

  std::string fontBytes_;  // the font reads its tables from here
  std::unique_ptr<Font> font_;
  // The same texts come every frame; the colour is applied while blending, so it is not a key.
  std::unordered_map<std::string, Rendered> cache_;
};

}  // namespace tavi
