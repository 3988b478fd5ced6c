// The menus without a mouse: arrows and Tab move the selection frame, Return or Space chooses, each
// key press once. Recording and replay: pause_test.cpp; presses from the keyboard: the same file.
#include <gtest/gtest.h>

#include <vector>

#include "app/game.h"
#include "app/menu_keys.h"
#include "fake_platform.h"

namespace tavi {
namespace {

constexpr std::uint8_t Tab = 0x0F, Return = 0x1C, KeyA = 0x1E, Space = 0x39, Up = 0xC8, Left = 0xCB, Down = 0xD0;

class MenuKeysTest : public ::testing::Test {
 protected:
  MenuKeysTest() { game.Startup(1); }
  // One key press, handed to the game as the loop hands it on, and a frame; the events it made.
  int Press(std::uint8_t key, bool shift = false) {
    const std::vector<WindowEvent> events = MenuKeyEvents({WindowEventType::KeyPress, 0, 0, key, shift}, game);
    for (const WindowEvent& e : events) {
      if (e.type == WindowEventType::MouseMove) game.OnMouseMove(e.x, e.y);
      if (e.type == WindowEventType::LeftButtonDown) game.OnLeftButtonDown(e.x, e.y);
    }
    game.RenderFrame(KeySnapshot{});
    return static_cast<int>(events.size());
  }
  std::pair<int, int> Selection() const { return {game.selectionFrame.x, game.selectionFrame.y}; }

  test::TempDir dir;
  test::FakePlatform platform;
  Game game{platform, platform};
};

TEST_F(MenuKeysTest, ArrowsAndTabStepThroughTheMenuAndSpaceStartsAGame) {
  // Each press and where the selection frame is after it; the steps wrap round.
  const struct {
    std::uint8_t key;
    bool shift;
    int frameY;
  } presses[] = {{Down, false, 346}, {Tab, false, 446}, {Tab, true, 346}, {Up, false, 246},
                 {Left, false, 546}, {Down, false, 246}, {KeyA, false, 246}};
  for (const auto& press : presses) {
    Press(press.key, press.shift);
    EXPECT_EQ(Selection(), std::make_pair(400, press.frameY)) << &press - &presses[0];
  }
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  EXPECT_EQ(Press(Space), 2);  // a move onto the button and a click
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Game);
  EXPECT_EQ(Press(Return), 0);  // no buttons in a game
}

TEST_F(MenuKeysTest, OnAParkedFrameTheFirstPressOnlyShowsItAndNeverOnClear) {
  game.currentScreen = GameScreen::NewHighscore;
  EXPECT_EQ(Press(Return), 0);  // the name entry takes Return from the key snapshot
  game.highscores.Insert("tavi", 50);
  game.currentScreen = GameScreen::Highscore;
  game.OnMouseMove(0, 0);  // off the buttons: the frame is parked
  Press(Return);
  EXPECT_EQ(Selection(), std::make_pair(400, 696));
  Press(Return);
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  EXPECT_EQ(game.highscores.Entry(0).score, 50);  // the list was not cleared
}

}  // namespace
}  // namespace tavi
