#include "app/screens/highscore_screen.h"

#include <string>

#include "app/screens/screen_context.h"
#include "app/screens/screen_list.h"
#include "graphics/bitmap_font.h"
#include "highscore/highscore_table.h"

namespace tavi {

namespace {

// The menu's highscore button is the list's heading, higher up.
constexpr int HeadingY = 75;

}  // namespace

void HighscoreScreen::Enter() { context_.ParkSelectionFrame(); }

void HighscoreScreen::MouseMove(int x, int y) { context_.FrameAt(buttons_.buttons, x, y); }

void HighscoreScreen::Click(int x, int y) {
  if (Hits(media::ClearButton, x, y)) highscores_.Clear();
  if (Hits(media::BackButton, x, y)) screens_.Show(GameScreen::Menu);
}

void HighscoreScreen::Escape() { screens_.Show(GameScreen::Menu); }

void HighscoreScreen::Draw() {
  context_.DrawAt(media::HighscoreButton, media::HighscoreButton.x, HeadingY);
  for (const media::Picture* button : buttons_.buttons) context_.Draw(*button);
  for (int k = 0; k < HighscoreTable::HighscoreCount; ++k) {
    const int y = 130 + 48 * k;
    context_.font.DrawFontText(highscores_.NameOf(k), 250, y);
    context_.font.DrawFontText(std::to_string(highscores_.Entry(k).score), 698, y);
  }
  context_.DrawFrameAndPointer();
}

}  // namespace tavi
