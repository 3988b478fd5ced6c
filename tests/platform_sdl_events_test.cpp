// The SDL platform's event pump on SDL's dummy video driver: which SDL events reach the game,
// and as what.

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tavi {
namespace {

void PushMotion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  SDL_PushEvent(&e);
}

void PushButton(Uint8 button, Uint8 clicks, int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = button;
  e.button.state = SDL_PRESSED;
  e.button.clicks = clicks;
  e.button.x = x;
  e.button.y = y;
  SDL_PushEvent(&e);
}

void PushKey(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod, Uint8 repeat) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.repeat = repeat;
  e.key.keysym = {scancode, sym, mod, 0};
  SDL_PushEvent(&e);
}

// The events that reach the game, as "type x,y" with the type's number.
std::vector<std::string> Drain(Platform& platform) {
  std::vector<std::string> events;
  for (WindowEvent e; platform.PollEvent(e);)
    events.push_back(std::to_string(static_cast<int>(e.type)) + " " + std::to_string(e.x) + "," + std::to_string(e.y));
  return events;
}

std::string Event(WindowEventType type, int x = 0, int y = 0) {
  return std::to_string(static_cast<int>(type)) + " " + std::to_string(x) + "," + std::to_string(y);
}

class SdlEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // never a real window from a test
    platform = CreatePlatform({true, false, true});  // an audio device, never opened
    if (!platform->CreateMainWindow()) GTEST_SKIP() << "no SDL video: " << SDL_GetError();
    ASSERT_EQ(platform->InitDisplay(), DisplayInit::Ok);
    Drain(*platform);
  }

  std::unique_ptr<Platform> platform;
};

TEST_F(SdlEvents, MouseMovesAreClampedAndOnlyLeftClicksInsideTheFrameCount) {
  PushMotion(100, 200);
  PushMotion(-5, 900);  // over the letterbox bars
  for (Uint8 clicks : {1, 2, 3}) PushButton(SDL_BUTTON_LEFT, clicks, 10, 20);
  PushButton(SDL_BUTTON_RIGHT, 1, 10, 20);
  PushButton(SDL_BUTTON_LEFT, 1, 1024, 20);
  PushButton(SDL_BUTTON_LEFT, 1, 5, -1);
  PushButton(SDL_BUTTON_LEFT, 1, 1023, 767);
  using T = WindowEventType;
  const std::vector<std::string> expected = {
      Event(T::MouseMove, 100, 200),      Event(T::MouseMove, 0, 767),
      Event(T::LeftButtonDown, 10, 20),   Event(T::LeftDoubleClick, 10, 20),
      Event(T::LeftButtonDown, 10, 20),  // a third quick press acts again
      Event(T::LeftButtonDown, 1023, 767)};
  EXPECT_EQ(Drain(*platform), expected);

  // Waiting returns at once for an event that is already there, and leaves it for the pump.
  PushButton(SDL_BUTTON_LEFT, 1, 300, 400);
  platform->WaitEvent(5000000);
  EXPECT_EQ(Drain(*platform), std::vector<std::string>{Event(T::LeftButtonDown, 300, 400)});
}

TEST_F(SdlEvents, EscapeRepeatsCountAndAltReturnIsNoKeyMessage) {
  PushKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, 0);
  PushKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, 1);
  PushKey(SDL_SCANCODE_A, SDLK_a, 0, 0);
  PushKey(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, 0);  // full screen on
  PushKey(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, 0);  // and off again
  EXPECT_EQ(Drain(*platform), std::vector<std::string>(2, Event(WindowEventType::EscapeDown)));
}

TEST_F(SdlEvents, F9TogglesTheMusicMuteAndNeverReachesTheGame) {
  PushKey(SDL_SCANCODE_F9, SDLK_F9, 0, 0);
  PushKey(SDL_SCANCODE_F9, SDLK_F9, 0, 1);  // held: no toggling back and forth
  EXPECT_TRUE(Drain(*platform).empty());
  EXPECT_TRUE(platform->Audio().MusicMuted());
  PushKey(SDL_SCANCODE_F9, SDLK_F9, 0, 0);
  EXPECT_TRUE(Drain(*platform).empty());
  EXPECT_FALSE(platform->Audio().MusicMuted());
}

TEST_F(SdlEvents, ClosingIsReportedOnceAndNothingComesAfterTheWindowIsGone) {
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&close);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_EQ(Drain(*platform), std::vector<std::string>{Event(WindowEventType::Close)});

  platform->Present(Image(1024, 768, 0x00FF00));
  platform->ReleaseDisplay();
  platform->ReleaseDisplay();
  platform->DestroyMainWindow();
  PushMotion(1, 1);
  EXPECT_TRUE(Drain(*platform).empty());
}

}  // namespace
}  // namespace tavi
