#pragma once

namespace tavi {

class BitmapFont;
class HighscoreTable;

// The ten names and scores of the highscore screen, in the bitmap font.
void DrawHighscoreList(const HighscoreTable& table, BitmapFont& font);

}  // namespace tavi
