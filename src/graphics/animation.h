#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/frame_size.h"
#include "base/image.h"
#include "base/media_manifest.h"

namespace tavi {

class Display;

// A sprite sheet of equal frames and the state of playing it.
class Animation {
 public:
  Animation() = default;
  Animation(const Animation&) = delete;
  Animation& operator=(const Animation&) = delete;

  void Load(Display& display, const std::string& fileName, int sheetWidth, int sheetHeight,
            int columns, int rows, std::uint32_t delay, Pixel colourKey);
  // A sheet of the media manifest, with its size, grid, delay and key.
  void Load(Display& display, const media::Picture& sheet) {
    Load(display, sheet.file, sheet.width, sheet.height, sheet.columns, sheet.rows, sheet.delay,
         media::KeyColour(sheet.key));
  }
  void Restart(int plays);
  void Draw(int x, int y, bool advance);
  void Advance();

  int FrameWidth() const { return frameWidth; }
  int FrameHeight() const { return frameHeight; }
  int Column() const { return column; }
  int Row() const { return row; }
  int PlaysLeft() const { return playsLeft; }
  bool Loaded() const { return loaded; }
  bool HasSheet() const { return sheet.has_value(); }

 private:
  void Step();

  int frameWidth = 0;
  int frameHeight = 0;
  std::uint32_t delay = 0;
  int columns = 0;
  int rows = 0;
  int column = -1;
  int row = 0;
  int playsLeft = 0;
  std::uint32_t countdown = 0;
  int clipRight = tavi::FrameWidth;
  int clipBottom = tavi::FrameHeight;
  bool loaded = false;
  bool missingSheetReported = false;
  std::optional<Image> sheet;
  std::string sheetName;  // the media name, for reports
  Display* display = nullptr;
};

}  // namespace tavi
