#include "graphics/bitmap_font.h"

#include <algorithm>
#include <cstdint>

#include "base/frame_size.h"
#include "base/media_manifest.h"
#include "graphics/display.h"
#include "graphics/surface.h"

namespace tavi {

namespace {

constexpr int CellSize = 32;
constexpr int FallbackColumn = 2;
constexpr int FallbackRow = 1;

// Cell index (row * 8 + column) of every character byte; the fallback cell for the rest.
struct CellTable {
  unsigned char cell[256];
  CellTable() {
    // Windows-1252: after ".-" the comma, inverted ! and ?, then accented capitals.
    const char* const layout[] = {"12345678", "90\x01" "ABCDE", "FGHIJKLM", "NOPQRSTU",
                                  "VWXYZ:?!", ".-,\xA1\xBF\xC9\xC8\xCA",           // ¡ ¿ É È Ê
                                  "\xC0\xC2\xC7\xC1\xCD\xD3\xDA\xD1",  // À Â Ç Á Í Ó Ú Ñ
                                  "\xC3\xD5\xD4\xCC\xD2\xD9\xDC\xCE"};  // Ã Õ Ô Ì Ò Ù Ü Î
    for (unsigned char& c : cell) c = FallbackRow * 8 + FallbackColumn;
    for (int row = 0; row < 8; ++row) {
      for (int column = 0; layout[row][column] != '\0'; ++column) {
        const auto c = static_cast<unsigned char>(layout[row][column]);
        if (c < 33) continue;  // the fallback marker
        cell[c] = static_cast<unsigned char>(row * 8 + column);
        // Small letters use the capitals: a-z, and the accented ones 0x20 above theirs.
        if ((c >= 'A' && c <= 'Z') || c >= 0xC0) cell[c + 0x20] = cell[c];
      }
    }
  }
};

}  // namespace

Rect BitmapFont::CellFor(unsigned char c) {
  static const CellTable table;
  const int column = table.cell[c] % 8;
  const int row = table.cell[c] / 8;
  return Rect{column * CellSize, row * CellSize, column * CellSize + CellSize, row * CellSize + CellSize};
}

int BitmapFont::DrawFontText(const std::string& text, int x, int y) {
  if (!tried_) {
    tried_ = true;
    glyphSheet_ = LoadBitmapSurface(display_, media::Glyphs.file, media::Glyphs.width, media::Glyphs.height);
    if (glyphSheet_) glyphSheet_->SetColourKey(media::KeyColour(media::Glyphs.key));
  }
  const auto length = static_cast<std::int64_t>(text.size());
  // The characters whose cells lie wholly inside the frame: the blit refuses a cell across an edge.
  const std::int64_t first = x >= 0 ? 0 : (CellSize - 1 - std::int64_t{x}) / CellSize;
  const std::int64_t end = std::min(length, (FrameWidth - std::int64_t{x}) / CellSize);
  for (std::int64_t i = first; glyphSheet_ && i < end; ++i) {  // no sheet: texts simply do not appear
    const Rect cell = CellFor(static_cast<unsigned char>(text[i]));
    BltFast(display_.BackBuffer(), x + CellSize * static_cast<int>(i), y, *glyphSheet_, &cell, true);
  }
  return static_cast<int>(std::min<std::int64_t>(x + CellSize * length, FrameWidth));
}

}  // namespace tavi
