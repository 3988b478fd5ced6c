#include "graphics/surface.h"

#include "base/error_log.h"
#include "base/frame_size.h"
#include "base/translate.h"
#include "graphics/bmp_decoder.h"
#include "graphics/display.h"
#include "platform/platform.h"

namespace tavi {

std::optional<Image> LoadBitmapSurface(Display& display, const std::string& fileName, int width,
                                       int height, const std::string& failure) {
  Platform& platform = display.GetPlatform();
  Image image;
  const std::string variant = LocalisedMediaName(fileName);
  if (variant != fileName) {
    if (LoadBitmap(platform, variant, width, height, image)) return image;
    // A missing variant leaves the German picture quietly; one that is there but broken is named.
    if (!failure.empty() && platform.MediaExists(variant)) display.Errors().LogError(FillIn(failure, {variant}));
  }
  if (LoadBitmap(platform, fileName, width, height, image)) return image;
  if (!failure.empty()) display.Errors().LogError(FillIn(failure, {fileName}));
  return std::nullopt;
}

void Surface::Load(Display& display, const std::string& fileName, int w, int h, int px, int py,
                   bool keyed) {
  image = LoadBitmapSurface(display, fileName, w, h, Translate("Fehler beim Laden von: %s"));
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

void Surface::Draw(Display& display) const { DrawAt(display, x, y); }

void Surface::DrawAt(Display& display, int left, int top) const {
  if (!image) return;  // a picture that could not be loaded shows nothing
  Rect source{0, 0, width, height};
  int dx = left;
  int dy = top;
  if (left + width >= FrameWidth) source.right = FrameWidth - left;
  if (top + height > FrameHeight) source.bottom = FrameHeight - top;
  if (top <= 0) {
    source.top = -top;
    dy = 0;
  }
  if (left <= 0) {
    source.left = -left;
    dx = 0;
  }
  BltFast(display.BackBuffer(), dx, dy, *image, &source, colourKeyed);
}

}  // namespace tavi
