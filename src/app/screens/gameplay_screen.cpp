#include "app/screens/gameplay_screen.h"

#include "app/screens/screen_list.h"
#include "game/diver.h"
#include "game/game_frame.h"
#include "highscore/highscore_table.h"

namespace tavi {

// A new game: the selection frame stays where it was, and the lake was emptied when the last game
// ended.
void GameplayScreen::Enter() { diver_.Reset(); }

// The frame that ends the game is still drawn to its end, over an emptied lake.
void GameplayScreen::Update() {
  if (UpdateGameFrame(diver_, groups_, random_)) EndGame();
}

void GameplayScreen::Draw() { DrawGameFrame(diver_, groups_); }

void GameplayScreen::EndGame() {
  for (ObjectGroup* group : groups_) group->Clear();
  // Strictly greater: a score equal to the tenth entry's does not reach the list (kept on purpose).
  if (diver_.GetScore() > highscores_.Entry(HighscoreTable::HighscoreCount - 1).score) {
    screens_.Show(GameScreen::NewHighscore);
  } else {
    screens_.Show(GameScreen::Menu);
  }
}

}  // namespace tavi
