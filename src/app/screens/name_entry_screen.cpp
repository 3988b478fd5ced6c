#include "app/screens/name_entry_screen.h"

#include "app/screens/screen_context.h"
#include "app/screens/screen_list.h"
#include "base/dik.h"
#include "base/translate.h"
#include "game/diver.h"
#include "graphics/bitmap_font.h"
#include "highscore/highscore_table.h"
#include "input/keyboard.h"
#include "input/name_entry.h"

namespace tavi {

// Leaves without entering the result.
void NameEntryScreen::Escape() { screens_.Show(GameScreen::Menu); }

// A key typed shows from the next frame on. Return held when the screen opens enters at once
// whatever the name holds then: the name typed last, kept for the next entry (kept on purpose).
void NameEntryScreen::Update() {
  shownName_ = nameEntry_.EnteredName;
  nameEntry_.Update();
  if (keyboard_.Down(Dik::Return)) {
    highscores_.Insert(nameEntry_.EnteredName, diver_.GetScore());
    screens_.Show(GameScreen::Highscore);
  }
}

void NameEntryScreen::Draw() {
  BitmapFont& font = context_.font;
  font.DrawFontText(Translate("Super neue Highscore!"), 176, 150);
  font.DrawFontText(std::to_string(diver_.GetScore()), 368, 200);
  const int nameX = font.DrawFontText(Translate("Name: "), 300, 300);
  font.DrawFontText(shownName_, nameX, 300);
}

}  // namespace tavi
