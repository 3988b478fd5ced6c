#include "app/pause.h"

#include <cstdint>
#include <string>

#include "base/frame_size.h"
#include "base/translate.h"
#include "graphics/bitmap_font.h"
#include "input/keyboard.h"

namespace tavi {

bool Pause::Handle(const WindowEvent& event, const KeySnapshot& lastKeys, bool pausable) {
  // P is a letter on the name-entry screen; no key pauses outside a game.
  switch (event.type) {
    case WindowEventType::PauseKey:
    case WindowEventType::PauseLetter:
      if (active_) {
        End();
      } else if (pausable) {
        Begin(lastKeys);
      }
      return true;
    case WindowEventType::FocusLost:
      if (onFocusLoss_ && pausable && !active_) Begin(lastKeys);
      return true;
    case WindowEventType::LeftButtonDown:
    case WindowEventType::LeftDoubleClick:
      if (!active_) return false;
      End();
      return true;
    case WindowEventType::EscapeDown:
      if (active_) End();
      return false;
    case WindowEventType::MouseMove:
    case WindowEventType::Close:
    case WindowEventType::KeyPress:
      return false;
  }
  return false;
}

void Pause::ReleaseHeldKeys(KeySnapshot& keys) {
  for (int i = 0; i < 256; ++i) {
    if (!held_.state[i]) continue;
    if (keys.state[i]) {
      keys.state[i] = 0;
    } else {
      held_.state[i] = 0;
    }
  }
}

void Pause::Wait() {
  platform_.WaitEvent(WaitMicroseconds);
  if (releaseHeldKeys_) {
    KeySnapshot now;
    if (ReadKeySnapshot(keys_, now)) ReleaseHeldKeys(now);
  }
}

void Pause::Begin(const KeySnapshot& lastKeys) {
  active_ = true;
  if (releaseHeldKeys_) {
    // Added to what an earlier pause still holds back.
    for (int i = 0; i < 256; ++i) held_.state[i] |= lastKeys.state[i];
  }
  platform_.Audio().Pause();
  DrawPauseText(font_);
}

void Pause::End() {
  active_ = false;
  platform_.Audio().Resume();
}

void DrawPauseText(BitmapFont& font) {
  const std::string& text = Translate("Pause");
  constexpr int Cell = 32;
  // A catalogue holds at most 16 MiB, so even a text that long is centred within an int.
  const std::int64_t width = Cell * static_cast<std::int64_t>(text.size());
  font.DrawFontText(text, static_cast<int>((FrameWidth - width) / 2), (FrameHeight - Cell) / 2);
}

}  // namespace tavi
