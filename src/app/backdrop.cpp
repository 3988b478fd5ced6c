#include "app/backdrop.h"

#include "base/media_manifest.h"
#include "graphics/display.h"

namespace tavi {

void Backdrop::LoadSand(Display& display) {
  const media::Picture& sand = media::Sand;
  sandSurface = LoadBitmapSurface(display, sand.file, sand.width, sand.height);
  if (sandSurface) sandSurface->SetColourKey(media::KeyColour(sand.key));
  sandSource.top = 0;
  sandSource.bottom = sand.height;
}

void Backdrop::LoadBand(Display& display) {
  const media::Picture& band = media::BackgroundBand;
  backgroundBand.Load(display, band.file, band.width, band.height, band.x, band.y, band.Keyed());
}

void Backdrop::DrawBackgroundBand(Display& display) {
  for (int k = 0; k < 3; ++k) {
    backgroundBand.x = static_cast<int>(bandScroll + 512.0f * static_cast<float>(k));
    backgroundBand.y = 424;
    backgroundBand.Draw(display);
  }
  bandScroll -= 0.5f;
  if (bandScroll == -512.0f) bandScroll = 0.0f;
}

void Backdrop::DrawSandStrip(Display& display) {
  const int s = sandScroll;
  if (sandSurface) {  // without the picture the strip simply does not appear
    Image& target = display.BackBuffer();
    sandSource.left = -s;
    sandSource.right = 512;
    BltFast(target, 0, 672, *sandSurface, &sandSource, true);
    BltFast(target, s + 512, 672, *sandSurface, nullptr, true);
    sandSource.left = 0;
    sandSource.right = -s;
    BltFast(target, s + 2 * 512, 672, *sandSurface, &sandSource, true);  // empty at s = 0: refused
  }
  sandScroll = s - 2;
  if (sandScroll == -512) sandScroll = 0;
}

}  // namespace tavi
