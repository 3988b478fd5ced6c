#include "app/menu_keys.h"

#include "app/screens/screen_context.h"
#include "app/screens/screen_list.h"
#include "base/dik.h"
#include "base/media_manifest.h"

namespace tavi {

namespace {

// The button under the middle of the selection frame; -1 when it is parked or between buttons.
int Selected(const ScreenButtons& screen, const Surface& frame) {
  const int x = frame.x + media::SelectionFrame.width / 2;
  const int y = frame.y + media::SelectionFrame.height / 2;
  for (std::size_t i = 0; i < screen.buttons.size(); ++i) {
    const media::Picture& b = *screen.buttons[i];
    if (x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height) return static_cast<int>(i);
  }
  return -1;
}

// A pointer position on the button: both its corner (what a move tests) and the point a click
// tests lie inside.
WindowEvent At(WindowEventType type, const media::Picture& button) {
  return {type, button.x + (button.width - ClickOffset) / 2, button.y + (button.height - ClickOffset) / 2};
}

}  // namespace

std::vector<WindowEvent> MenuKeyEvents(const WindowEvent& press, const ScreenList& screens) {
  int step = 0;
  bool choose = false;
  switch (press.key) {
    case Dik::Down:
    case Dik::Right:
      step = 1;
      break;
    case Dik::Up:
    case Dik::Left:
      step = -1;
      break;
    case Dik::Tab:
      step = press.shift ? -1 : 1;
      break;
    case Dik::Return:
    case Dik::NumpadEnter:
    case Dik::Space:
      choose = true;
      break;
    default:
      return {};
  }
  const ScreenButtons& buttons = screens.Current().Buttons();
  const int count = static_cast<int>(buttons.buttons.size());
  if (count == 0) return {};
  const int before = Selected(buttons, screens.Context().SelectionFrame());
  // Where the frame is on no button, the first press only shows it.
  const int selected = before < 0 ? buttons.preferred : ((before + step) % count + count) % count;
  const media::Picture& button = *buttons.buttons[static_cast<std::size_t>(selected)];
  if (choose && before >= 0) return {At(WindowEventType::MouseMove, button), At(WindowEventType::LeftButtonDown, button)};
  if (selected == before) return {};
  return {At(WindowEventType::MouseMove, button)};
}

}  // namespace tavi
