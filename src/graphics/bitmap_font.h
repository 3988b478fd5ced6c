#pragma once

#include <optional>
#include <string>

#include "base/image.h"

namespace tavi {

class Display;

// Large 32 x 32 glyphs cut from the glyph sheet (media::Glyphs): digits, A-Z and ":?!.-".
class BitmapFont {
 public:
  explicit BitmapFont(Display& display) : display_(display) {}
  // Draws a Windows-1252 text at (x, y), 32 pixels a character; loads the sheet on first use.
  void DrawFontText(const std::string& text, int x, int y);
  // The sheet cell drawn for a character byte.
  static Rect CellFor(unsigned char c);

 private:
  Display& display_;
  bool tried_ = false;
  std::optional<Image> glyphSheet_;
};

}  // namespace tavi
