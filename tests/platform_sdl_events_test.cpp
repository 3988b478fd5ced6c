// The SDL platform's event pump on SDL's dummy video driver: which SDL events reach the game,
// and as what.

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
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
  e.key.keysym.scancode = scancode;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  SDL_PushEvent(&e);
}

std::vector<WindowEvent> Drain(Platform& platform) {
  std::vector<WindowEvent> events;
  WindowEvent event;
  while (platform.PollEvent(event)) events.push_back(event);
  return events;
}

class SdlEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // never a real window from a test
    platform = CreatePlatform({true, false, false});
    if (!platform->CreateMainWindow()) GTEST_SKIP() << "no SDL video: " << SDL_GetError();
    ASSERT_EQ(platform->InitDisplay(), DisplayInit::Ok);
    Drain(*platform);
  }

  std::unique_ptr<Platform> platform;
};

TEST_F(SdlEvents, MouseMovesAreClampedAndOnlyLeftClicksInsideTheFrameCount) {
  PushMotion(100, 200);
  PushMotion(-5, 900);             // over the letterbox bars
  PushButton(SDL_BUTTON_LEFT, 1, 10, 20);
  PushButton(SDL_BUTTON_LEFT, 2, 10, 20);
  PushButton(SDL_BUTTON_LEFT, 3, 10, 20);
  PushButton(SDL_BUTTON_RIGHT, 1, 10, 20);
  PushButton(SDL_BUTTON_LEFT, 1, 1024, 20);
  PushButton(SDL_BUTTON_LEFT, 1, 5, -1);
  PushButton(SDL_BUTTON_LEFT, 1, 1023, 767);

  const std::vector<WindowEvent> events = Drain(*platform);
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0].type, WindowEventType::MouseMove);
  EXPECT_EQ(events[0].x, 100);
  EXPECT_EQ(events[0].y, 200);
  EXPECT_EQ(events[1].type, WindowEventType::MouseMove);
  EXPECT_EQ(events[1].x, 0);
  EXPECT_EQ(events[1].y, 767);
  EXPECT_EQ(events[2].type, WindowEventType::LeftButtonDown);
  EXPECT_EQ(events[3].type, WindowEventType::LeftDoubleClick);
  EXPECT_EQ(events[4].type, WindowEventType::LeftButtonDown);  // a third quick press acts again
  EXPECT_EQ(events[5].type, WindowEventType::LeftButtonDown);
  EXPECT_EQ(events[5].x, 1023);
  EXPECT_EQ(events[5].y, 767);
}

TEST_F(SdlEvents, WaitingLeavesTheWakingEventForThePump) {
  PushButton(SDL_BUTTON_LEFT, 1, 300, 400);
  platform->WaitEvent(5000000);  // returns at once: an event is waiting
  const std::vector<WindowEvent> events = Drain(*platform);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].type, WindowEventType::LeftButtonDown);
  EXPECT_EQ(events[0].x, 300);
  EXPECT_EQ(events[0].y, 400);
}

TEST_F(SdlEvents, EscapeRepeatsCountAndAltReturnIsNoKeyMessage) {
  PushKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, 0);
  PushKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, 1);
  PushKey(SDL_SCANCODE_A, SDLK_a, 0, 0);
  PushKey(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, 0);  // full screen on
  PushKey(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, 0);  // and off again
  const std::vector<WindowEvent> events = Drain(*platform);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].type, WindowEventType::EscapeDown);
  EXPECT_EQ(events[1].type, WindowEventType::EscapeDown);
}

TEST_F(SdlEvents, ClosingIsReportedOnceAndNothingComesAfterTheWindowIsGone) {
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&close);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  std::vector<WindowEvent> events = Drain(*platform);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].type, WindowEventType::Close);

  platform->Present(Image(1024, 768, 0x00FF00));
  platform->ReleaseDisplay();
  platform->ReleaseDisplay();
  platform->DestroyMainWindow();
  PushMotion(1, 1);
  EXPECT_TRUE(Drain(*platform).empty());
}

}  // namespace
}  // namespace tavi
