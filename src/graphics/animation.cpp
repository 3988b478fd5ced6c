#include "graphics/animation.h"

#include "base/error_log.h"
#include "base/translate.h"
#include "graphics/display.h"
#include "graphics/surface.h"

namespace tavi {

void Animation::Load(Display& target, const std::string& fileName, int sheetWidth, int sheetHeight,
                     int columnCount, int rowCount, std::uint32_t frameDelay, Pixel colourKey) {
  display = &target;
  delay = frameDelay;
  countdown = frameDelay;
  columns = columnCount;
  frameWidth = sheetWidth / columnCount;
  playsLeft = 0;
  rows = rowCount;
  frameHeight = sheetHeight / rowCount;
  sheetName = fileName;
  sheet = LoadBitmapSurface(target, fileName, sheetWidth, sheetHeight, Translate("Fehler beim Laden, Animation %s"));
  if (sheet) sheet->SetColourKey(colourKey);
  loaded = true;
}

void Animation::Restart(int plays) {
  if (!loaded) return;
  column = 0;
  playsLeft = plays;
}

void Animation::Draw(int x, int y, bool advance) {
  if (!loaded) return;
  if (column < 0 || playsLeft == 0) return;  // stopped

  Rect source{column * frameWidth, row * frameHeight, 0, 0};
  source.right = source.left + frameWidth;
  source.bottom = source.top + frameHeight;
  if (x + frameWidth >= clipRight) source.right = source.left + (clipRight - x);
  if (y + frameHeight >= clipBottom) source.bottom = source.top + (clipBottom - y);
  if (x < 0) {
    source.left -= x;
    x = 0;
  }
  if (y < 0) {
    source.top -= y;
    y = 0;
  }
  if (source.left < source.right && source.top < source.bottom) {
    if (!sheet) {
      // Once per animation: a line every frame would fill the disk over a long session.
      if (!missingSheetReported) display->Errors().LogError(FillIn(Translate("Surface=NULL: %s"), {sheetName}));
      missingSheetReported = true;
    } else if (!BltFast(display->BackBuffer(), x, y, *sheet, &source, true)) {
      display->Errors().LogError(Translate("Animation konnte nicht angezeigt werden"));
    }
  }
  if (advance) Step();
}

void Animation::Advance() { Step(); }

void Animation::Step() {
  if (countdown != 0) {
    --countdown;
    return;
  }
  ++column;
  if (column >= columns) {
    column = 0;
    ++row;
    if (row >= rows) {
      column = 0;
      row = 0;
      --playsLeft;
      if (playsLeft < -1) playsLeft = -1;
    }
  }
  countdown = delay;
}

}  // namespace tavi
