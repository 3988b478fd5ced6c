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
#include "fake_platform.h"

namespace tavi {
namespace {

constexpr std::uint8_t Right = 0xCD;
using T = WindowEventType;

// A player at the keyboard: events and held keys scripted by rendered frame, a clock always late
// enough for the next frame. Frames shown again while the sound is paused are not counted.
class ScriptedPlatform : public test::FakePlatform {
 public:
  struct Event {
    long long frame;    // delivered before this frame is rendered
    std::size_t waits;  // ... once the loop has waited this often
    WindowEvent event;
  };
  struct Held {
    long long from, to;  // down in the frames [from, to)
    std::uint8_t key;
  };
  bool PollEvent(WindowEvent& event) override {
    if (next >= script.size() || script[next].frame > frame || script[next].waits > waits.size()) return false;
    event = script[next++].event;
    return true;
  }
  bool ReadKeys(std::uint8_t (&state)[256]) override {
    for (auto& k : state) k = 0;
    for (const Held& h : held) state[h.key] |= frame >= h.from && frame < h.to ? 0x80 : 0;
    return true;
  }
  void Present(const Image& image) override {
    FakePlatform::Present(image);
    if (!audio.paused) ++frame;
  }
  std::int64_t Counter() override { return counter += 1000; }

  std::vector<Event> script;
  std::vector<Held> held;
  long long frame = 0;
  std::size_t next = 0;
};

// A game started from the menu by Return, steered, and closed at frame 200; `paused` adds a pause
// before frame 50 that lasts three waits, with Right held through it until frame 100.
std::string Play(bool paused, const std::string& record = "") {
  ScriptedPlatform player;
  player.script = {{200, 0, {T::Close, 0, 0}}};
  if (paused) {
    player.script.insert(player.script.begin(), {{50, 0, {T::PauseKey, 0, 0}},
                                                 {50, 0, {T::MouseMove, 7, 7}},
                                                 {50, 3, {T::PauseLetter, 0, 0}}});
  }
  player.held = {{2, 4, 0x1C}, {5, 40, 0xD0}, {10, paused ? 100 : 50, Right}, {120, 150, Right}, {150, 170, 0x39}};
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

  // The recording holds no trace of the pause, Return became a click, and it plays back the same.
  test::FakePlatform machine;
  Options replay;
  replay.headless = true;
  replay.timedemo = "paused.demo";
  replay.trace = "replay.trace";
  ASSERT_EQ(RunProgram(replay, machine), 0);
  EXPECT_EQ(test::ReadFile("replay.trace"), paused);
  const std::string demo = test::ReadFile("paused.demo");
  EXPECT_NE(demo.find("50 move 7 7"), std::string::npos);
  EXPECT_NE(demo.find("2 click "), std::string::npos);
  EXPECT_EQ(test::ReadLines("paused.trace")[2].substr(0, 4), "2 1 ");  // the game began at frame 2
}

TEST(Pause, OnlyAGamePausesAndAClickResumes) {
  test::TempDir dir;
  test::FakePlatform platform;
  // A glyph sheet whose cells are solid in a colour that tells them apart.
  Image glyphs(256, 192);
  for (int y = 0; y < 192; ++y)
    for (int x = 0; x < 256; ++x) glyphs.Set(x, y, 0x200000u | static_cast<Pixel>(y / 32 * 8 + x / 32 + 1) << 8);
  platform.pictures[media::Glyphs.file] = glyphs;
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
  std::string word;
  for (int x = 448; x < 608; x += 32)
    word += std::string("1234567890 ABCDEFGHIJKLMNOPQRSTUVWXYZ").at((game.display.BackBuffer().At(x, 384) >> 8 & 0xFF) - 1);
  EXPECT_EQ(word, "PAUSE");
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
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  for (auto [scancode, sym, repeat] : {std::tuple{SDL_SCANCODE_P, SDLK_p, 0}, {SDL_SCANCODE_P, SDLK_p, 1},
                                       {SDL_SCANCODE_PAUSE, SDLK_PAUSE, 0}, {SDL_SCANCODE_O, SDLK_o, 0}}) {
    e.key.repeat = static_cast<Uint8>(repeat);
    e.key.keysym = {scancode, sym, 0, 0};
    SDL_PushEvent(&e);
  }
  e.type = SDL_WINDOWEVENT;
  for (auto what : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_FOCUS_GAINED}) {
    e.window.event = static_cast<Uint8>(what);
    SDL_PushEvent(&e);
  }
  std::vector<T> got;
  for (WindowEvent e; platform->PollEvent(e);) got.push_back(e.type);
  EXPECT_EQ(got, (std::vector<T>{T::PauseLetter, T::PauseKey, T::FocusLost, T::FocusLost}));
}

}  // namespace
}  // namespace tavi
