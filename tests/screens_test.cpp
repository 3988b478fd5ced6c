// The screens as the window messages and the menu keys drive them: where each button is hit, where
// the selection frame goes, which screen follows; the end of a game and the name entry.
#include <gtest/gtest.h>

#include "app/game.h"
#include "app/menu_keys.h"
#include "app/program.h"
#include "base/frame_size.h"
#include "base/media_manifest.h"
#include "fake_platform.h"

namespace tavi {
namespace {

using T = WindowEventType;
using S = GameScreen;
constexpr int OffX = FrameWidth, OffY = FrameHeight;  // the selection frame parked
constexpr std::uint8_t Return = 0x1C, Tab = 0x0F, Space = 0x39, Up = 0xC8, Down = 0xD0, KeyA = 0x1E;

class Screens : public ::testing::Test {
 protected:
  Screens() {
    platform.pictures[media::Glyphs.file] = Image(media::Glyphs.width, media::Glyphs.height, Glyph);
    game.Startup(1);
  }
  static constexpr Pixel Glyph = 0x00C0FF;  // every character a solid cell
  S Now() const { return game.Screens().CurrentScreen(); }
  // A click as the window reports it: the game tests the point 16 pixels further on.
  void ClickAt(int testedX, int testedY) { game.HandleEvent({T::LeftButtonDown, testedX - 16, testedY - 16}); }
  void Esc() { game.HandleEvent({T::EscapeDown, 0, 0}); }
  // A key press as the loop hands it on; the number of events it made.
  int Press(std::uint8_t key, bool shift = false) {
    const std::vector<WindowEvent> events = MenuKeyEvents({T::KeyPress, 0, 0, key, shift}, game.Screens());
    for (const WindowEvent& e : events) game.HandleEvent(e);
    return static_cast<int>(events.size());
  }
  void RenderWith(std::uint8_t key) {
    KeySnapshot keys;
    keys.state[key] = 0x80;
    game.RenderFrame(keys);
  }

  test::TempDir dir;
  test::FakePlatform platform;
  Game game{platform, platform};
};

TEST_F(Screens, ButtonsFrameAndKeysOfTheMenuListAndInstructions) {
  game.Highscores().Insert("abc", 5);
  // What is done ('m' move to, 'c' click tested at, 'e' Esc, 'k' key x pressed, with Shift when y
  // is 1), then the screen and the selection frame's corner.
  const struct Step {
    char what;
    int x, y;
    S screen;
    int frameX, frameY;
  } steps[] = {
      {'c', 620, 260, S::Menu, 400, 246}, {'c', 260, 300, S::Menu, 400, 246},  // beside and below
      {'m', 500, 360, S::Menu, 400, 346}, {'m', 700, 560, S::Menu, 400, 346},  // sideways off: stays
      {'m', 619, 560, S::Menu, 400, 546}, {'m', 500, 320, S::Menu, OffX, OffY},  // a gap parks
      {'k', Down, 0, S::Menu, 400, 246}, {'k', Tab, 0, S::Menu, 400, 346},  // the first press shows
      {'k', Tab, 1, S::Menu, 400, 246}, {'k', Up, 0, S::Menu, 400, 546}, {'k', Down, 0, S::Menu, 400, 246},
      {'k', KeyA, 0, S::Menu, 400, 246}, {'c', 500, 499, S::Highscore, OffX, OffY},
      {'m', 413, 634, S::Highscore, 405, 592}, {'m', 619, 700, S::Highscore, 400, 696},
      {'c', 611, 600, S::Highscore, 400, 696}, {'m', 300, 700, S::Highscore, OffX, OffY},  // clear, park
      {'k', Return, 0, S::Highscore, 400, 696}, {'c', 404, 749, S::Menu, OffX, OffY},  // "back", not "clear"
      {'c', 404, 350, S::Instructions, OffX, OffY}, {'m', 500, 720, S::Instructions, 400, 696},
      {'m', 10, 10, S::Instructions, 400, 696}, {'e', 0, 0, S::Menu, OffX, OffY},  // the frame stays
      {'c', 500, 460, S::Highscore, OffX, OffY}, {'e', 0, 0, S::Menu, OffX, OffY},
      {'k', Space, 0, S::Menu, 400, 246}, {'k', Space, 0, S::Game, 400, 246},  // the frame stays
      {'k', Return, 0, S::Game, 400, 246}, {'e', 0, 0, S::Menu, OffX, OffY}, {'c', 619, 299, S::Game, OffX, OffY},
  };
  for (const Step& step : steps) {
    if (step.what == 'm') game.HandleEvent({T::MouseMove, step.x, step.y});
    if (step.what == 'c') ClickAt(step.x, step.y);
    if (step.what == 'e') Esc();
    if (step.what == 'k') Press(step.x, step.y == 1);
    const Surface& frame = game.Screens().Context().SelectionFrame();
    EXPECT_EQ(Now(), step.screen) << &step - steps;
    EXPECT_EQ(std::make_pair(frame.x, frame.y), std::make_pair(step.frameX, step.frameY)) << &step - steps;
  }
  EXPECT_EQ(game.Highscores().Entry(0).score, 0);
  EXPECT_FALSE(game.QuitRequested());
  Esc();              // a game ends
  ClickAt(404, 550);  // the end button
  EXPECT_TRUE(game.QuitRequested());
  EXPECT_TRUE(platform.windowDestroyed);
  EXPECT_EQ(platform.displayReleases, 1);
}

// (A score equal to the tenth entry's leads back to the menu: the stored game over's trace.)
TEST_F(Screens, AGameAboveTheTenthEntryEndsOnTheNameEntry) {
  game.GetDiver().score = 7;
  ClickAt(500, 260);
  EXPECT_EQ(game.GetDiver().score, 0);  // a new game
  game.GetDiver().score = 3;
  ClickAt(500, 260);  // no button in a game
  EXPECT_EQ(game.GetDiver().score, 3);
  Esc();
  ASSERT_EQ(Now(), S::NewHighscore);
  EXPECT_EQ(Press(Return), 0);  // the name entry takes Return from the key snapshot
  const auto nameShown = [this] { return game.GetDisplay().BackBuffer().At(508, 316) == Glyph; };
  RenderWith(KeyA);
  EXPECT_FALSE(nameShown());  // typed in this frame, shown from the next on
  RenderWith(Return);
  EXPECT_TRUE(nameShown());
  EXPECT_EQ(Now(), S::Highscore);
  EXPECT_EQ(game.Highscores().NameOf(0) + std::to_string(game.Highscores().Entry(0).score), "a3");

  // Return still held when the next name entry opens enters the last name at once; Esc drops it.
  game.GetDiver().score = 4;
  game.Screens().Show(S::NewHighscore);
  RenderWith(Return);
  EXPECT_EQ(game.Highscores().NameOf(0) + std::to_string(game.Highscores().Entry(0).score), "a4");
  game.GetDiver().score = 9;
  game.Screens().Show(S::NewHighscore);
  Esc();
  EXPECT_EQ(game.Highscores().Entry(0).score, 4);
  EXPECT_EQ(Now(), S::Menu);
  Esc();
  EXPECT_TRUE(game.QuitRequested());
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
