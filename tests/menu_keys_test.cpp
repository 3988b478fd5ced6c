// The menus without a mouse: arrows and Tab move the selection frame, Return or Space chooses, and
// only presses made on the screen itself count. Recording and replay: pause_test.cpp.
#include <gtest/gtest.h>

#include <vector>

#include "app/game.h"
#include "app/menu_keys.h"
#include "fake_platform.h"

namespace tavi {
namespace {

constexpr std::uint8_t Tab = 0x0F, Return = 0x1C, LShift = 0x2A, Space = 0x39, Up = 0xC8, Down = 0xD0;

class MenuKeysTest : public ::testing::Test {
 protected:
  MenuKeysTest() { game.Startup(1); }
  // One frame with `held` down: the translated events go to the game as the loop hands them on.
  int Frame(const std::vector<std::uint8_t>& held) {
    KeySnapshot keys;
    for (std::uint8_t k : held) keys.state[k] = 0x80;
    const std::vector<WindowEvent> events = menuKeys.Translate(keys, game);
    for (const WindowEvent& e : events) {
      if (e.type == WindowEventType::MouseMove) game.OnMouseMove(e.x, e.y);
      if (e.type == WindowEventType::LeftButtonDown) game.OnLeftButtonDown(e.x, e.y);
    }
    game.RenderFrame(keys);
    return static_cast<int>(events.size());
  }
  std::pair<int, int> Selection() const { return {game.selectionFrame.x, game.selectionFrame.y}; }

  test::TempDir dir;
  test::FakePlatform platform;
  Game game{platform, platform};
  MenuKeys menuKeys;
};

TEST_F(MenuKeysTest, ArrowsAndTabStepThroughTheMenuAndReturnStartsAGame) {
  EXPECT_EQ(Frame({Return}), 0);  // held since the program started
  // The keys of each frame and where the selection frame is after it; Down held on steps once.
  const std::pair<std::vector<std::uint8_t>, int> frames[] = {
      {{Down}, 346}, {{Down}, 346}, {{}, 346},  {{Tab}, 446}, {{}, 446},  {{LShift, Tab}, 346}, {{}, 346},
      {{Up}, 246},   {{}, 246},     {{Up}, 546}, {{}, 546},   {{Down}, 246}, {{}, 246}};
  for (const auto& [held, frameY] : frames) {
    Frame(held);
    EXPECT_EQ(Selection(), std::make_pair(400, frameY)) << &held - &frames[0].first;
  }
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  EXPECT_EQ(Frame({Space}), 2);  // a move onto the button and a click
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Game);
}

TEST_F(MenuKeysTest, KeysHeldFromTheScreenBeforeDoNothing) {
  game.currentScreen = GameScreen::NewHighscore;
  game.diver.score = 50;
  Frame({Return});  // confirms the name
  ASSERT_EQ(game.CurrentScreen(), GameScreen::Highscore);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Frame({Return}), 0);
  EXPECT_EQ(Selection(), std::make_pair(1024, 768));
  Frame({});
  Frame({Return});  // the first press only shows the frame, on "back", not on "clear"
  EXPECT_EQ(Selection(), std::make_pair(400, 696));
  Frame({});
  Frame({Return});
  EXPECT_EQ(game.CurrentScreen(), GameScreen::Menu);
  EXPECT_EQ(game.highscores.Entry(0).score, 50);

  // The net key, pressed in the frame after a game ended, was never seen up on the menu.
  game.currentScreen = GameScreen::Game;
  game.diver.score = 0;
  Frame({});
  game.OnEscape();
  EXPECT_EQ(Frame({Space}), 0);
}

}  // namespace
}  // namespace tavi
