#include <gtest/gtest.h>

#include "app/game.h"
#include "app/program.h"
#include "fake_platform.h"

namespace tavi {
namespace {

class Screens : public ::testing::Test {
 protected:
  Screens() { game.Startup(1); }
  std::pair<int, int> Frame() const { return {game.selectionFrame.x, game.selectionFrame.y}; }
  // A click as the window reports it: the game tests the point 16 pixels further on.
  void ClickAt(int testedX, int testedY) { game.OnLeftButtonDown(testedX - 16, testedY - 16); }
  // One frame with the keys the platform has down, as the loop reads them.
  void Render() {
    ReadKeySnapshot(platform, keys);
    game.RenderFrame(keys);
  }

  test::TempDir dir;
  test::FakePlatform platform;
  Game game{platform, platform};
  KeySnapshot keys;
};

const std::pair<int, int> Parked{FrameWidth, FrameHeight};

TEST_F(Screens, StartsOnTheMenuAndNewGameHitRectangleBoundsAfterTheOffset) {
  EXPECT_EQ(Frame(), std::make_pair(400, 246));
  ClickAt(620, 260);
  ClickAt(260, 300);
  ClickAt(500, 300);
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  game.diver.score = 7;
  ClickAt(619, 299);
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Game);
  EXPECT_EQ(game.diver.score, 0);  // the diver was reset
  EXPECT_EQ(Frame(), std::make_pair(400, 246));  // the new-game action leaves the frame alone

  game.OnEscape();
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  game.OnLeftButtonDown(388, 234);  // window position: tested at (404, 250)
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Game);
}

TEST_F(Screens, MenuMovesFollowButtonsAndIgnoreSidewaysMoves) {
  game.OnMouseMove(500, 360);
  EXPECT_EQ(Frame(), std::make_pair(400, 346));
  EXPECT_EQ(game.cursorPicture.x, 500);
  game.OnMouseMove(700, 560);  // sideways off the buttons: the frame stays
  EXPECT_EQ(Frame(), std::make_pair(400, 346));
  game.OnMouseMove(619, 560);
  EXPECT_EQ(Frame(), std::make_pair(400, 546));
  game.OnMouseMove(500, 320);  // the gap between two buttons parks it
  EXPECT_EQ(Frame(), Parked);
}

TEST_F(Screens, HighscoreScreenButtonsAndFrame) {
  ClickAt(500, 460);
  ASSERT_EQ(game.CurrentScreen(), GameScreen::Highscore);
  EXPECT_EQ(game.highscoreButton.y, 75);
  EXPECT_EQ(Frame(), Parked);
  game.OnMouseMove(413, 634);
  EXPECT_EQ(Frame(), std::make_pair(405, 592));
  game.OnMouseMove(619, 700);
  EXPECT_EQ(Frame(), std::make_pair(400, 696));
  game.OnMouseMove(300, 700);
  EXPECT_EQ(Frame(), Parked);

  game.highscores.Insert("abc", 5);
  ClickAt(611, 600);  // clear
  EXPECT_EQ(game.highscores.Entry(0).score, 0);
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Highscore);
  ClickAt(404, 749);  // back
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  EXPECT_EQ(game.highscoreButton.y, 450);
  EXPECT_EQ(Frame(), Parked);
}

TEST_F(Screens, InstructionsFrameStaysWhenLeavingTheBackButton) {
  ClickAt(500, 399);
  ASSERT_EQ(game.CurrentScreen(), GameScreen::Instructions);
  EXPECT_EQ(Frame(), Parked);
  game.OnMouseMove(500, 720);
  EXPECT_EQ(Frame(), std::make_pair(400, 696));
  game.OnMouseMove(10, 10);
  EXPECT_EQ(Frame(), std::make_pair(400, 696));
  game.OnEscape();
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  EXPECT_EQ(Frame(), Parked);
}

TEST_F(Screens, EscapeByScreen) {
  game.currentScreen = GameScreen::NewHighscore;
  game.OnEscape();
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  EXPECT_EQ(game.highscores.Entry(0).score, 0);  // the result was dropped
  EXPECT_FALSE(game.QuitRequested());
  game.OnEscape();
  EXPECT_TRUE(game.QuitRequested());
  EXPECT_TRUE(platform.windowDestroyed);
  EXPECT_EQ(platform.displayReleases, 1);
}

TEST_F(Screens, EndButtonEndsTheProgram) {
  ClickAt(404, 550);
  EXPECT_TRUE(game.QuitRequested());
}

TEST_F(Screens, EndOfGameComparesWithTheTenthEntry) {
  ClickAt(500, 260);
  game.groups[0].Spawn();
  game.diver.score = 0;  // equal to the tenth entry of a fresh table
  game.OnEscape();
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  EXPECT_TRUE(game.groups[0].Instances().empty());

  ClickAt(500, 260);
  game.diver.score = 1;
  game.EndGame();
  EXPECT_EQ(game.CurrentScreen(), GameScreen::NewHighscore);
}

TEST_F(Screens, ReturnOnTheNameEntryInsertsAndShowsTheList) {
  game.diver.score = 3;
  game.currentScreen = GameScreen::NewHighscore;
  platform.keys[0x1E] = 0x80;  // A
  Render();
  platform.keys[0x1E] = 0;
  platform.keys[0x1C] = 0x80;  // Return
  Render();
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Highscore);
  EXPECT_EQ(game.highscores.NameOf(0), "a");
  EXPECT_EQ(game.highscores.Entry(0).score, 3);
  EXPECT_EQ(game.highscoreButton.y, 75);

  // Return still held when the next name entry opens commits the last name at once.
  game.diver.score = 4;
  game.currentScreen = GameScreen::NewHighscore;
  Render();
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Highscore);
  EXPECT_EQ(game.highscores.NameOf(0), "a");
  EXPECT_EQ(game.highscores.Entry(0).score, 4);
}

// Without its window nothing starts: the box as ever, a line in the error log, a failed run.
TEST(Program, WindowThatCannotBeCreatedIsLoggedAndFailsTheRun) {
  test::TempDir dir;
  test::FakePlatform platform;
  platform.windowCreates = false;
  EXPECT_EQ(RunProgram(Options{}, platform), 1);
  using Message = std::pair<std::string, std::string>;
  EXPECT_EQ(platform.messages, std::vector<Message>{Message("Fehler", "Fenster konnte nicht erzeugt werden")});
  EXPECT_EQ(test::ReadFile("Error.txt"), "Fenster konnte nicht erzeugt werden\n");
  EXPECT_EQ(platform.presents, 0);
}

}  // namespace
}  // namespace tavi
