#include <string>

#include "game/diver.h"
#include "graphics/bitmap_font.h"

namespace tavi {

// Built as strings, so any score or number of lives fits.
void Diver::DrawHud() {
  font_.DrawFontText("Punkte " + std::to_string(score), 0, 0);
  font_.DrawFontText("Leben  " + std::to_string(lives), 0, 48);
}

}  // namespace tavi
