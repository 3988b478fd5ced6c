#pragma once

#include <optional>
#include <string>

#include "base/image.h"

namespace tavi {

class Display;

// Loads a bitmap scaled to width x height: a picture with words in the active language's variant
// when that loads, else the German one. Each picture that cannot be loaded, but a missing variant,
// is reported as `failure` with its name for "%s"; an empty `failure` reports nothing. Empty when
// no picture could be loaded.
std::optional<Image> LoadBitmapSurface(Display& display, const std::string& fileName, int width,
                                       int height, const std::string& failure = {});

// A still picture with its screen position.
struct Surface {
  std::optional<Image> image;  // none when the bitmap could not be loaded: drawn as nothing
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool colourKeyed = false;

  // Loads the picture; a failure writes "Fehler beim Laden von: <name>" to the error log
  // (Error.txt in a portable folder, error.log when installed).
  void Load(Display& display, const std::string& fileName, int width, int height, int x, int y,
            bool colourKeyed);
  // Draws the whole picture at (x, y), clipped to the screen.
  void Draw(Display& display) const;
  // The same at another place.
  void DrawAt(Display& display, int left, int top) const;
};

}  // namespace tavi
