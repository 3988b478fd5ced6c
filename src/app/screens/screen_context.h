#pragma once

#include <array>
#include <iterator>
#include <vector>

#include "base/media_manifest.h"
#include "graphics/surface.h"

namespace tavi {

class Backdrop;
class BitmapFont;
class Display;

// A click is tested this far right of and below the pointer's corner, at the centre of the drawn
// pointer, while a move is tested at the corner itself (kept: the highlighted and the pressed
// areas of a button differ).
constexpr int ClickOffset = 16;

// Whether (x, y) presses a button: its picture and the column and row just past its right and
// bottom edges, as the buttons always reached.
bool Hits(const media::Picture& button, int x, int y);

// What the screens share: the display they draw on, the font, the backdrop behind them, the
// still pictures of the menus, the mouse pointer and the selection frame.
class ScreenContext {
 public:
  ScreenContext(Display& display, BitmapFont& font, Backdrop& backdrop)
      : display(display), font(font), backdrop(backdrop) {}

  // Loads the still pictures, each at its place, in the manifest's order.
  void LoadPictures();
  // A still picture as loaded; an empty one, drawn as nothing, for any other.
  const Surface& Still(const media::Picture& picture) const;
  // A still picture at its place, or at (x, y).
  void Draw(const media::Picture& picture) const { Still(picture).Draw(display); }
  void DrawAt(const media::Picture& picture, int x, int y) const { Still(picture).DrawAt(display, x, y); }

  void MovePointer(int x, int y);
  const Surface& Pointer() const { return Still(media::Cursor); }
  // The selection frame goes round a button, or is parked just off the screen, where nothing of it
  // shows.
  void FrameAround(const media::Picture& button);
  void ParkSelectionFrame();
  // Round the first of `buttons` that (x, y) hits; parked where there is none.
  void FrameAt(const std::vector<const media::Picture*>& buttons, int x, int y);
  const Surface& SelectionFrame() const { return Still(media::SelectionFrame); }
  // The selection frame, then the pointer over everything.
  void DrawFrameAndPointer() const;

  Display& display;
  BitmapFont& font;
  Backdrop& backdrop;

 private:
  // The still pictures are the manifest's placed pictures but the backdrop's band.
  static constexpr bool IsStill(const media::Picture& picture) {
    return picture.placed && &picture != &media::BackgroundBand;
  }
  // Where a picture is in the manifest's list; the list's length for one that is not.
  static constexpr std::size_t IndexOf(const media::Picture& picture) {
    std::size_t i = 0;
    while (i < std::size(media::Pictures) && media::Pictures[i] != &picture) ++i;
    return i;
  }

  std::array<Surface, std::size(media::Pictures)> stills_;  // by the manifest's order; empty but stills
};

}  // namespace tavi
