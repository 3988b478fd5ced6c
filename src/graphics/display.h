#pragma once

#include <string>

#include "base/frame_size.h"
#include "base/image.h"
#include "graphics/text_rasteriser.h"

namespace tavi {

class ErrorLog;
class Platform;

// The back buffer every frame is drawn into, and its way to the screen.
class Display {
 public:
  Display(Platform& platform, ErrorLog& errorLog);

  // Sets the display up; reports the first failing step through ShowError and returns false.
  bool InitDisplay();
  void ReleaseDisplay();
  // Fills the whole back buffer with pure blue.
  void ClearBackBuffer();
  // Shows the back buffer.
  void FlipDisplay();
  // Cyan single-line Windows-1252 text with a transparent background at (x, y), in the platform's
  // TrueType font, read when the first text is drawn.
  void DrawGdiText(const std::string& text, int x, int y);

  Image& BackBuffer() { return backBuffer_; }
  const Image& BackBuffer() const { return backBuffer_; }
  Platform& GetPlatform() { return platform_; }
  ErrorLog& Errors() { return errorLog_; }

 private:
  // Reads the platform's font; a failure is told on standard error.
  void OpenFont();

  Platform& platform_;
  ErrorLog& errorLog_;
  Image backBuffer_;
  bool ready_ = false;
  TextRasteriser text_;
  bool fontTried_ = false;
  bool textFailureShown_ = false;
};

}  // namespace tavi
