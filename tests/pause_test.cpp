// The pause: no frame counted while it lasts, keys held across it count as released, the word on
// the frozen frame, and which inputs pause at all.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>

#include "app/game.h"
#include "app/options.h"
#include "app/pause.h"
#include "app/program.h"
#include "base/media_manifest.h"
#include "game_world_fixture.h"
#include "scripted_platform.h"

namespace tavi {
namespace {

constexpr std::uint8_t Right = 0xCD;
using T = WindowEventType;

// A game started by a click, steered, and closed at frame 200; `paused` adds a pause before
// frame 50 that lasts three waits, with Right held through it until frame 100.
std::string Play(bool paused, const std::string& record = "") {
  test::ScriptedPlatform player;
  player.script = {{2, 0, {T::LeftButtonDown, 484, 244}}, {200, 0, {T::Close, 0, 0}}};
  if (paused) {
    player.script.insert(player.script.begin() + 1, {{50, 0, {T::PauseKey, 0, 0}},
                                                      {50, 0, {T::MouseMove, 7, 7}},
                                                      {50, 3, {T::PauseLetter, 0, 0}}});
  }
  player.held = {{5, 40, 0xD0}, {10, paused ? 100 : 50, Right}, {120, 150, Right}, {150, 170, 0x39}};
  Options options;
  options.seed = 4711;
  options.trace = paused ? "paused.trace" : "straight.trace";
  options.record = record;
  EXPECT_EQ(RunProgram(options, player), 0);
  if (paused) {
    EXPECT_EQ(player.waits, std::vector<std::int64_t>(3, Pause::WaitMicroseconds));
    EXPECT_FALSE(player.audio.paused);
  }
  return test::ReadFile(options.trace);
}

TEST(Pause, CountsNoFrameAndKeysHeldAcrossItCountAsReleased) {
  test::TempDir dir;
  const std::string paused = Play(true, "paused.demo");
  EXPECT_EQ(test::ReadLines("paused.trace").size(), 200u);
  // The same as releasing Right when the pause began: no frame, no key, no timer moved.
  EXPECT_EQ(paused, Play(false));

  // The recording holds no trace of the pause and plays back the same.
  test::FakePlatform machine;
  Options replay;
  replay.headless = true;
  replay.timedemo = "paused.demo";
  replay.trace = "replay.trace";
  ASSERT_EQ(RunProgram(replay, machine), 0);
  EXPECT_EQ(test::ReadFile("replay.trace"), paused);
  EXPECT_NE(test::ReadFile("paused.demo").find("50 move 7 7"), std::string::npos);
}

TEST(Pause, OnlyAGamePausesAndAClickResumes) {
  test::TempDir dir;
  test::FakePlatform platform;
  platform.pictures[media::Glyphs.file] = test::CodedGlyphSheet();
  Game game(platform, platform);
  game.Startup(1);
  Pause pause(game, false, true);
  const KeySnapshot none;
  EXPECT_TRUE(pause.Handle({T::PauseLetter, 0, 0}, none));  // on the menu P does nothing
  game.currentScreen = GameScreen::NewHighscore;
  EXPECT_TRUE(pause.Handle({T::PauseKey, 0, 0}, none));
  game.currentScreen = GameScreen::Game;
  EXPECT_TRUE(pause.Handle({T::FocusLost, 0, 0}, none));  // pausing on focus loss is off here
  EXPECT_FALSE(pause.Active());
  EXPECT_FALSE(pause.Handle({T::LeftButtonDown, 1, 1}, none));

  game.display.ClearBackBuffer();
  EXPECT_TRUE(pause.Handle({T::PauseLetter, 0, 0}, none));
  EXPECT_TRUE(pause.Active());
  EXPECT_TRUE(platform.audio.paused);
  EXPECT_EQ(platform.presents, 1);  // the frozen frame with the word
  EXPECT_EQ(test::ReadFontLine(game.display.BackBuffer(), 368, 5, 432), "PAUSE");
  EXPECT_FALSE(pause.Handle({T::MouseMove, 1, 1}, none));
  EXPECT_TRUE(pause.Handle({T::LeftButtonDown, 1, 1}, none));
  EXPECT_FALSE(pause.Active());
  EXPECT_FALSE(platform.audio.paused);
}

TEST(Pause, SdlReportsPauseKeysOnceAndFocusLoss) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  PlatformOptions options;
  options.window = true;
  options.sound = false;
  auto platform = CreatePlatform(options);
  if (!platform->CreateMainWindow()) GTEST_SKIP() << "no SDL video: " << SDL_GetError();
  for (WindowEvent e; platform->PollEvent(e);) {
  }
  for (auto [scancode, sym, repeat] : {std::tuple{SDL_SCANCODE_P, SDLK_p, 0}, {SDL_SCANCODE_P, SDLK_p, 1},
                                       {SDL_SCANCODE_PAUSE, SDLK_PAUSE, 0}, {SDL_SCANCODE_O, SDLK_o, 0}}) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.repeat = static_cast<Uint8>(repeat);
    e.key.keysym = {scancode, sym, 0, 0};
    SDL_PushEvent(&e);
  }
  for (auto what : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_FOCUS_GAINED}) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = static_cast<Uint8>(what);
    SDL_PushEvent(&e);
  }
  std::vector<T> got;
  for (WindowEvent e; platform->PollEvent(e);) got.push_back(e.type);
  EXPECT_EQ(got, (std::vector<T>{T::PauseLetter, T::PauseKey, T::FocusLost, T::FocusLost}));
}

}  // namespace
}  // namespace tavi
