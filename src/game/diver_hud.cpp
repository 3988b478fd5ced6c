#include <string>

#include "base/translate.h"
#include "game/diver.h"
#include "graphics/bitmap_font.h"

namespace tavi {

// Numbers as strings, so any score or number of lives fits; each drawn where its label ends.
void Diver::DrawHud() {
  const int scoreX = font_.DrawFontText(Translate("Punkte "), 0, 0);
  font_.DrawFontText(std::to_string(score), scoreX, 0);
  const int livesX = font_.DrawFontText(Translate("Leben  "), 0, 48);
  font_.DrawFontText(std::to_string(lives), livesX, 48);
}

}  // namespace tavi
