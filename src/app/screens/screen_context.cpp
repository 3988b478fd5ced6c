#include "app/screens/screen_context.h"

#include "base/frame_size.h"
#include "graphics/display.h"

namespace tavi {

bool Hits(const media::Picture& button, int x, int y) {
  return x >= button.x && x <= button.x + button.width && y >= button.y && y <= button.y + button.height;
}

void ScreenContext::LoadPictures() {
  for (std::size_t i = 0; i < stills_.size(); ++i) {
    const media::Picture& p = *media::Pictures[i];
    if (IsStill(p)) stills_[i].Load(display, p.file, p.width, p.height, p.x, p.y, p.Keyed());
  }
}

const Surface& ScreenContext::Still(const media::Picture& picture) const {
  static const Surface none;
  const std::size_t i = IndexOf(picture);
  return i < stills_.size() ? stills_[i] : none;
}

void ScreenContext::MovePointer(int x, int y) {
  Surface& pointer = stills_[IndexOf(media::Cursor)];
  pointer.x = x;
  pointer.y = y;
}

void ScreenContext::FrameAround(const media::Picture& button) {
  Surface& frame = stills_[IndexOf(media::SelectionFrame)];
  frame.x = button.x - media::FrameInset(button);
  frame.y = button.y - media::FrameInset(button);
}

void ScreenContext::ParkSelectionFrame() {
  Surface& frame = stills_[IndexOf(media::SelectionFrame)];
  frame.x = FrameWidth;
  frame.y = FrameHeight;
}

void ScreenContext::FrameAt(const std::vector<const media::Picture*>& buttons, int x, int y) {
  for (const media::Picture* button : buttons) {
    if (Hits(*button, x, y)) {
      FrameAround(*button);
      return;
    }
  }
  ParkSelectionFrame();
}

void ScreenContext::DrawFrameAndPointer() const {
  SelectionFrame().Draw(display);
  Pointer().Draw(display);
}

}  // namespace tavi
