// The pause: no frame counted while it lasts, keys held across it count as released, the word on
// the frozen frame, and which inputs pause at all; the mute and its mark; key presses as events.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>

#include "app/mute.h"
#include "app/options.h"
#include "app/pause.h"
#include "app/program.h"
#include "base/error_log.h"
#include "base/media_manifest.h"
#include "fake_platform.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"

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

// A game started from the menu by Return, steered, muted by F9 and closed at frame 200; `paused`
// adds a pause before frame 50 that lasts three waits, with Right held through it until frame 100.
std::string Play(bool paused, const std::string& record = "") {
  ScriptedPlatform player;
  player.script = {{2, 0, {T::KeyPress, 0, 0, 0x1C}}, {60, 0, {T::KeyPress, 0, 0, 0x43}}, {200, 0, {T::Close, 0, 0}}};
  if (paused) {
    player.script.insert(player.script.begin() + 1, {{50, 0, {T::PauseKey, 0, 0}},
                                                     {50, 0, {T::MouseMove, 7, 7}},
                                                     {50, 3, {T::PauseLetter, 0, 0}}});
  }
  player.held = {{2, 4, 0x1C}, {5, 40, 0xD0}, {10, paused ? 100 : 50, Right}, {60, 62, 0x43},
                 {120, 150, Right}, {150, 170, 0x39}};
  Options options;
  options.seed = 4711;
  options.trace = paused ? "paused.trace" : "straight.trace";
  options.record = record;
  EXPECT_EQ(RunProgram(options, player), 0);
  EXPECT_TRUE(player.audio.muted);
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
  EXPECT_EQ(demo.find("F9"), std::string::npos);  // the mute key is no key of the game
  EXPECT_EQ(test::ReadLines("paused.trace")[2].substr(0, 4), "2 1 ");  // the game began at frame 2
}

// A display whose font's glyph sheet has cells solid in a colour that tells them apart.
class Overlays : public ::testing::Test {
 protected:
  Overlays() {
    Image& glyphs = platform.pictures[media::Glyphs.file] = Image(media::Glyphs.width, media::Glyphs.height);
    for (int y = 0; y < glyphs.Height(); ++y)
      for (int x = 0; x < glyphs.Width(); ++x) glyphs.Set(x, y, 0x200000u | static_cast<Pixel>(y / 32 * 8 + x / 32 + 1) << 8);
    display.InitDisplay();
    display.ClearBackBuffer();
  }
  // The characters of the cells drawn from (x, y) on; '_' where there is none.
  static std::string Word(const Image& image, int x, int y, int cells) {
    std::string word;
    for (int i = 0; i < cells; ++i) {
      const Pixel p = image.At(x + 32 * i + 16, y + 16);
      const int cell = (p >> 16) == 0x20 ? static_cast<int>(p >> 8 & 0xFF) - 1 : -1;
      word += cell >= 0 && cell < 37 ? "1234567890 ABCDEFGHIJKLMNOPQRSTUVWXYZ"[cell] : '_';
    }
    return word;
  }

  // Keeps the corner of the mute mark of each presented frame.
  struct ShowingPlatform : test::FakePlatform {
    void Present(const Image& image) override {
      FakePlatform::Present(image);
      corner = Word(image, 800, 0, 7);
    }
    std::string corner;
  };

  ShowingPlatform platform;
  ErrorLog log{nullptr, ""};
  Display display{platform, log};
  BitmapFont font{display};
};

// (That a pause stops the sound and lets moves through: the played pause above.)
TEST_F(Overlays, OnlyAGamePausesAndAClickResumes) {
  Pause pause(platform, platform, font, false, true);
  const KeySnapshot none;
  EXPECT_TRUE(pause.Handle({T::PauseLetter, 0, 0}, none, false));  // off a game P does nothing
  EXPECT_TRUE(pause.Handle({T::FocusLost, 0, 0}, none, true));  // pausing on focus loss is off here
  EXPECT_FALSE(pause.Active());
  EXPECT_FALSE(pause.Handle({T::LeftButtonDown, 1, 1}, none, true));

  EXPECT_TRUE(pause.Handle({T::PauseLetter, 0, 0}, none, true));
  EXPECT_TRUE(pause.Active());
  EXPECT_EQ(Word(display.BackBuffer(), 432, 368, 5), "PAUSE");  // the frozen frame with the word
  EXPECT_TRUE(pause.Handle({T::LeftButtonDown, 1, 1}, none, true));
  EXPECT_FALSE(pause.Active());
}

// F9's mark shows on the presented frame for two seconds after each change, never in the back
// buffer (what screenshots save) and never in a demo.
TEST_F(Overlays, MuteMarksThePresentedFrameForTwoSecondsInLivePlayOnly) {
  font.DrawFontText("ZZZZZZZZ", 768, 0);
  const Image frame = display.BackBuffer();
  Mute mute(platform, display, font, true);
  mute.Toggle();
  EXPECT_TRUE(platform.audio.muted);
  mute.Present();
  EXPECT_EQ(platform.corner, "TON AUS");
  EXPECT_TRUE(display.BackBuffer().Pixels() == frame.Pixels());
  platform.counter += 2 * platform.frequency - 1;
  mute.Present();
  EXPECT_EQ(platform.corner, "TON AUS");
  platform.counter += 1;
  mute.Present();
  EXPECT_EQ(platform.corner, "ZZZZZZZ");
  mute.Toggle();
  mute.Present();
  EXPECT_FALSE(platform.audio.muted);
  EXPECT_EQ(platform.corner, "ZTON AN");

  Mute inDemo(platform, display, font, false);
  platform.counter += 2 * platform.frequency;
  inDemo.Toggle();
  inDemo.Present();
  EXPECT_TRUE(platform.audio.muted);
  EXPECT_EQ(platform.corner, "ZZZZZZZ");
}

// Each key press is one event, auto-repeats none: a held Esc is one Esc; a key pressed and let go
// before the next frame still counts.
TEST(Pause, SdlReportsEachKeyPressOnceAndFocusLoss) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  PlatformOptions options;
  options.window = true, options.sound = false;
  auto platform = CreatePlatform(options);
  if (!platform->CreateMainWindow()) GTEST_SKIP() << "no SDL video: " << SDL_GetError();
  for (WindowEvent e; platform->PollEvent(e);) continue;
  SDL_Event e{};
  for (auto [type, scancode, sym, repeat, mod] :
       {std::tuple{SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, 0}, {SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 1, 0},
        {SDL_KEYDOWN, SDL_SCANCODE_P, SDLK_p, 0, 0}, {SDL_KEYDOWN, SDL_SCANCODE_P, SDLK_p, 1, 0},
        {SDL_KEYDOWN, SDL_SCANCODE_PAUSE, SDLK_PAUSE, 0, 0}, {SDL_KEYDOWN, SDL_SCANCODE_TAB, SDLK_TAB, 0, 0},
        {SDL_KEYUP, SDL_SCANCODE_TAB, SDLK_TAB, 0, 0}, {SDL_KEYDOWN, SDL_SCANCODE_TAB, SDLK_TAB, 0, KMOD_LSHIFT},
        {SDL_KEYDOWN, SDL_SCANCODE_TAB, SDLK_TAB, 1, KMOD_LSHIFT}, {SDL_KEYDOWN, SDL_SCANCODE_F9, SDLK_F9, 0, 0}}) {
    e.type = type;
    e.key.repeat = static_cast<Uint8>(repeat);
    e.key.keysym = {scancode, sym, static_cast<Uint16>(mod), 0};
    SDL_PushEvent(&e);
  }
  e.type = SDL_WINDOWEVENT;
  for (auto what : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_FOCUS_GAINED}) {
    e.window.event = static_cast<Uint8>(what);
    SDL_PushEvent(&e);
  }
  std::vector<std::tuple<T, int, bool>> got;
  for (WindowEvent e; platform->PollEvent(e);) got.emplace_back(e.type, e.key, e.shift);
  EXPECT_EQ(got, (std::vector<std::tuple<T, int, bool>>{{T::EscapeDown, 0, false}, {T::PauseLetter, 0x19, false},
                                                        {T::PauseKey, 0, false}, {T::KeyPress, 0x0F, false},
                                                        {T::KeyPress, 0x0F, true}, {T::KeyPress, 0x43, false},
                                                        {T::FocusLost, 0, false}, {T::FocusLost, 0, false}}));
}

}  // namespace
}  // namespace tavi
