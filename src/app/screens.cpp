// The screens: the window messages they handle, their buttons and what each draws.
#include <string>

#include "app/game.h"
#include "app/highscore_screen.h"
#include "base/frame_size.h"
#include "base/media_manifest.h"
#include "base/translate.h"
#include "platform/platform.h"

namespace tavi {

namespace {

struct Band {
  int top;
  int bottom;
};

bool Inside(int v, int low, int high) { return v >= low && v <= high; }

// Menu buttons share the columns 404..619; each has its own rows and selection-frame spot.
constexpr int MenuLeft = 404;
constexpr int MenuRight = 619;
constexpr Band NewGameRows{250, 299};
constexpr Band InstructionsRows{350, 399};
constexpr Band HighscoreRows{450, 499};
constexpr Band EndRows{550, 599};
const Band MenuRows[] = {NewGameRows, InstructionsRows, HighscoreRows, EndRows};
const int MenuFrameY[] = {246, 346, 446, 546};

bool InClearButton(int x, int y) { return Inside(x, 413, 611) && Inside(y, 600, 634); }
bool InBackButton(int x, int y) { return Inside(x, 404, 619) && Inside(y, 700, 749); }

}  // namespace

void Game::ParkSelectionFrame() {
  selectionFrame.x = FrameWidth;
  selectionFrame.y = FrameHeight;
}

void Game::BackToMenu() {
  currentScreen = GameScreen::Menu;
  highscoreButton.x = media::HighscoreButton.x;
  highscoreButton.y = media::HighscoreButton.y;
  ParkSelectionFrame();
}

void Game::ShowHighscoreScreen() {
  currentScreen = GameScreen::Highscore;
  highscoreButton.x = 404;
  highscoreButton.y = 75;
  ParkSelectionFrame();
}

void Game::OnMouseMove(int x, int y) {
  cursorPicture.x = x;
  cursorPicture.y = y;
  HandleMouseMove(x, y);
}

// A click is tested at the centre of the drawn pointer, a move at its top-left corner.
void Game::OnLeftButtonDown(int x, int y) { HandleMouseClick(x + 16, y + 16); }

void Game::OnEscape() {
  switch (currentScreen) {
    case GameScreen::Menu:
      OnDestroy();
      break;
    case GameScreen::Game:
      EndGame();
      break;
    case GameScreen::Highscore:
    case GameScreen::NewHighscore:  // leaves without entering the result
    case GameScreen::Instructions:
      BackToMenu();
      break;
  }
}

void Game::OnDestroy() {
  if (quit_) return;
  display.ReleaseDisplay();
  keyboard.Release();
  platform.DestroyMainWindow();
  quit_ = true;
}

void Game::HandleMouseMove(int x, int y) {
  switch (currentScreen) {
    case GameScreen::Menu: {
      if (x < MenuLeft || x > MenuRight) return;  // sideways off the buttons: the frame stays
      for (int i = 0; i < 4; ++i) {
        if (Inside(y, MenuRows[i].top, MenuRows[i].bottom)) {
          selectionFrame.x = 400;
          selectionFrame.y = MenuFrameY[i];
          return;
        }
      }
      ParkSelectionFrame();
      return;
    }
    case GameScreen::Highscore:
      if (InClearButton(x, y)) {
        selectionFrame.x = 405;
        selectionFrame.y = 592;
      } else if (InBackButton(x, y)) {
        selectionFrame.x = 400;
        selectionFrame.y = 696;
      } else {
        ParkSelectionFrame();
      }
      return;
    case GameScreen::Instructions:
      if (InBackButton(x, y)) {  // leaving the button leaves the frame in place
        selectionFrame.x = 400;
        selectionFrame.y = 696;
      }
      return;
    case GameScreen::Game:
    case GameScreen::NewHighscore:
      return;
  }
}

void Game::HandleMouseClick(int x, int y) {
  if (currentScreen == GameScreen::Menu) {
    if (x < MenuLeft || x > MenuRight) return;
    if (Inside(y, NewGameRows.top, NewGameRows.bottom)) {
      currentScreen = GameScreen::Game;
      diver.Reset();
    }
    if (Inside(y, InstructionsRows.top, InstructionsRows.bottom)) {
      ParkSelectionFrame();
      currentScreen = GameScreen::Instructions;
    }
    if (Inside(y, HighscoreRows.top, HighscoreRows.bottom)) ShowHighscoreScreen();
    if (Inside(y, EndRows.top, EndRows.bottom)) OnDestroy();
  }
  // The new screen sees the same point; no button there overlaps the menu's rows.
  if (currentScreen == GameScreen::Highscore && InClearButton(x, y)) highscores.Clear();
  if ((currentScreen == GameScreen::Highscore || currentScreen == GameScreen::Instructions) &&
      InBackButton(x, y)) {
    BackToMenu();
  }
}

void Game::EndGame() {
  for (ObjectGroup& group : groups) group.Clear();
  // Strictly greater: a score equal to the tenth entry's does not reach the list (kept on purpose).
  if (diver.GetScore() > highscores.Entry(HighscoreTable::HighscoreCount - 1).score) {
    currentScreen = GameScreen::NewHighscore;
  } else {
    BackToMenu();
  }
}

void Game::DrawMenu() {
  titlePicture.Draw(display);
  newGameButton.Draw(display);
  instructionsButton.Draw(display);
  highscoreButton.Draw(display);
  endButton.Draw(display);
  selectionFrame.Draw(display);
  cursorPicture.Draw(display);
}

void Game::DrawHighscoreScreen() {
  highscoreButton.Draw(display);
  clearButton.Draw(display);
  backButton.Draw(display);
  DrawHighscoreList(highscores, font);
  selectionFrame.Draw(display);
  cursorPicture.Draw(display);
}

void Game::DrawNewHighscoreScreen() {
  font.DrawFontText(Translate("Super neue Highscore!"), 176, 150);
  font.DrawFontText(std::to_string(diver.GetScore()), 368, 200);
  const int nameX = font.DrawFontText(Translate("Name: "), 300, 300);
  font.DrawFontText(nameEntry.EnteredName, nameX, 300);
  nameEntry.Update();
  if (keyboard.Down(Dik::Return)) {
    highscores.Insert(nameEntry.EnteredName, diver.GetScore());
    ShowHighscoreScreen();
  }
}

}  // namespace tavi
