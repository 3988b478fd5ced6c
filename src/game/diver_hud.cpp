#include <string>

#include "base/translate.h"
#include "game/diver.h"
#include "graphics/bitmap_font.h"

namespace tavi {

// Built as strings, so any score or number of lives fits.
void Diver::DrawHud() {
  font_.DrawFontText(Translate("Punkte ") + std::to_string(score), 0, 0);
  font_.DrawFontText(Translate("Leben  ") + std::to_string(lives), 0, 48);
}

}  // namespace tavi
