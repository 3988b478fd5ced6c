#include "app/mute.h"

#include <algorithm>
#include <string>

#include "base/frame_size.h"
#include "base/translate.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "platform/platform.h"

namespace tavi {

Mute::Mute(Platform& platform, Display& display, BitmapFont& font, bool showMark)
    : platform_(platform), display_(display), font_(font), clock_(platform), showMark_(showMark) {}

void Mute::Toggle() {
  AudioDevice& audio = platform_.Audio();
  audio.SetMuted(!audio.Muted());
  marked_ = showMark_;
  markEnd_ = clock_.Now() + clock_.Frequency() * MarkMilliseconds / 1000;
}

void Mute::Present() {
  if (marked_ && clock_.Now() >= markEnd_) marked_ = false;
  if (!marked_) {
    display_.FlipDisplay();
    return;
  }
  constexpr int Cell = 32;  // the font's glyphs
  const std::string text = platform_.Audio().Muted() ? Translate("Ton aus") : Translate("Ton an");
  const int left = FrameWidth - Cell * static_cast<int>(std::min<std::size_t>(text.size(), 64));
  // What the mark covers is put back after presenting; a text wider than the frame is cut.
  const Rect area{std::max(left, 0), 0, FrameWidth, Cell};
  Image under(area.right - area.left, Cell);
  BltFast(under, 0, 0, display_.BackBuffer(), &area, false);
  font_.DrawFontText(text, left, area.top);
  display_.FlipDisplay();
  BltFast(display_.BackBuffer(), area.left, area.top, under, nullptr, false);
}

}  // namespace tavi
