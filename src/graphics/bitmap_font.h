#pragma once

#include <optional>
#include <string>

#include "base/image.h"

namespace tavi {

class Display;

// Large 32 x 32 glyphs cut from the glyph sheet (media::Glyphs): digits, A-Z, ":?!.-,¡¿" and the
// accented capitals of French, Spanish, Italian and Portuguese; small letters are drawn as capitals.
class BitmapFont {
 public:
  explicit BitmapFont(Display& display) : display_(display) {}
  // Draws a Windows-1252 text at (x, y), 32 pixels a character, and returns where a text that
  // follows it starts (at most the frame's right edge). Only characters wholly inside the frame are
  // drawn, the others are passed over without a look, so a text of any length costs at most a line
  // across the frame. Loads the sheet on first use.
  int DrawFontText(const std::string& text, int x, int y);
  // The sheet cell drawn for a character byte.
  static Rect CellFor(unsigned char c);

 private:
  Display& display_;
  bool tried_ = false;
  std::optional<Image> glyphSheet_;
};

}  // namespace tavi
