#include "app/mute.h"

#include <algorithm>
#include <string>

#include "app/game.h"
#include "base/frame_size.h"
#include "base/translate.h"

namespace tavi {

Mute::Mute(Game& game, bool showMark) : game_(game), clock_(game.platform), showMark_(showMark) {}

void Mute::Toggle() {
  AudioDevice& audio = game_.platform.Audio();
  audio.SetMuted(!audio.Muted());
  marked_ = showMark_;
  markEnd_ = clock_.Now() + clock_.Frequency() * MarkMilliseconds / 1000;
}

void Mute::Present() {
  Display& display = game_.display;
  if (marked_ && clock_.Now() >= markEnd_) marked_ = false;
  if (!marked_) {
    display.FlipDisplay();
    return;
  }
  constexpr int Cell = 32;  // the font's glyphs
  const std::string text = game_.platform.Audio().Muted() ? Translate("Ton aus") : Translate("Ton an");
  const int left = FrameWidth - Cell * static_cast<int>(std::min<std::size_t>(text.size(), 64));
  // What the mark covers is put back after presenting; a text wider than the frame is cut.
  const Rect area{std::max(left, 0), 0, FrameWidth, Cell};
  Image under(area.right - area.left, Cell);
  BltFast(under, 0, 0, display.BackBuffer(), &area, false);
  game_.font.DrawFontText(text, left, area.top);
  display.FlipDisplay();
  BltFast(display.BackBuffer(), area.left, area.top, under, nullptr, false);
}

}  // namespace tavi
