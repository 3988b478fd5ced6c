#include "app/highscore_screen.h"

#include <cstdio>

#include "graphics/bitmap_font.h"
#include "highscore/highscore_table.h"

namespace tavi {

void DrawHighscoreList(const HighscoreTable& table, BitmapFont& font) {
  for (int k = 0; k < HighscoreTable::HighscoreCount; ++k) {
    const int y = 130 + 48 * k;
    font.DrawFontText(table.NameOf(k), 250, y);
    char score[16];
    std::snprintf(score, sizeof score, "%d", static_cast<int>(table.Entry(k).score));
    font.DrawFontText(score, 698, y);
  }
}

}  // namespace tavi
