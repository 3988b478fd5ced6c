#include "graphics/surface.h"

#include "base/error_log.h"
#include "base/translate.h"
#include "graphics/display.h"
#include "platform/platform.h"

namespace tavi {

std::optional<Image> LoadBitmapSurface(Display& display, const std::string& fileName, int width,
                                       int height) {
  Image image;
  // A picture with words in the language's own variant; the German one when the variant is missing.
  const std::string variant = LocalisedMediaName(fileName);
  if (variant != fileName && display.GetPlatform().LoadBitmap(variant, width, height, image)) return image;
  if (!display.GetPlatform().LoadBitmap(fileName, width, height, image)) return std::nullopt;
  return image;
}

void Surface::Load(Display& display, const std::string& fileName, int w, int h, int px, int py,
                   bool keyed) {
  image = LoadBitmapSurface(display, fileName, w, h);
  if (!image) display.Errors().LogError(Translate("Fehler beim Laden von: ") + fileName);
  width = w;
  height = h;
  colourKeyed = false;
  x = px;
  y = py;
  if (keyed) {
    if (image) image->SetColourKey(ColourKeyBlue);
    colourKeyed = true;
  }
}

void Surface::Draw(Display& display) const {
  if (!image) return;  // a picture that could not be loaded shows nothing
  Rect source{0, 0, width, height};
  int dx = x;
  int dy = y;
  if (x + width >= Display::Width) source.right = Display::Width - x;
  if (y + height > Display::Height) source.bottom = Display::Height - y;
  if (y <= 0) {
    source.top = -y;
    dy = 0;
  }
  if (x <= 0) {
    source.left = -x;
    dx = 0;
  }
  BltFast(display.BackBuffer(), dx, dy, *image, &source, colourKeyed);
}

}  // namespace tavi
