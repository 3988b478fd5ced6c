#pragma once

#include <optional>

#include "base/image.h"
#include "graphics/surface.h"

namespace tavi {

class Display;

// The background band and the sand strip that drift to the left behind every screen.
class Backdrop {
 public:
  void LoadSand(Display& display);
  void LoadBand(Display& display);
  // Draws the band and advances its offset by half a pixel.
  void DrawBackgroundBand(Display& display);
  // Draws the sand and advances its offset by two pixels.
  void DrawSandStrip(Display& display);

  float BandScroll() const { return bandScroll; }
  int SandScroll() const { return sandScroll; }
  void SetBandScroll(float scroll) { bandScroll = scroll; }

  Surface backgroundBand;

 private:
  std::optional<Image> sandSurface;
  Rect sandSource{0, 0, 0, 96};
  // The offsets run on through every screen and are never reset, not even by a new game.
  float bandScroll = 0.0f;
  int sandScroll = 0;
};

}  // namespace tavi
