// Gamepads and the keyboard layout, both turned into the key snapshot the game already reads.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

#include "app/game.h"
#include "app/menu_keys.h"
#include "base/name_keys.h"
#include "fake_platform.h"
#include "input/keyboard.h"
#include "platform/layout_keys.h"
#include "platform/platform.h"

namespace tavi {
namespace {

int Us(int code) { return code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z ? 'a' + code - SDL_SCANCODE_A : SDL_SCANCODE_TO_KEYCODE(code); }
// AZERTY: A and Q, Z and W change places, M sits right of L, the digit row needs Shift.
int French(int code) {
  const int keys[][2] = {{SDL_SCANCODE_Q, 'a'}, {SDL_SCANCODE_A, 'q'}, {SDL_SCANCODE_W, 'z'}, {SDL_SCANCODE_Z, 'w'},
                         {SDL_SCANCODE_SEMICOLON, 'm'}, {SDL_SCANCODE_M, ','}, {SDL_SCANCODE_1, '&'}};
  for (const auto& key : keys) if (key[0] == code) return key[1];
  return Us(code);
}

TEST(LayoutKeys, NamesComeOutAsLabelledOnTheKeys) {
  // US: the key labelled Y is DirectInput's Y, which the game's own table types as "z".
  for (char c : std::string("tony")) EXPECT_EQ(LayoutDik(SDL_SCANCODE_A + c - 'a', Us), ScanCodeForNameChar(c));
  // AZERTY: letters as labelled; the digit row and arrows, which type no name character, keep their place.
  const int labelled[] = {SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_A, SDL_SCANCODE_Z, SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(LayoutDik(labelled[i], French), ScanCodeForNameChar("azqwm1"[i]));
  EXPECT_EQ(LayoutDik(SDL_SCANCODE_RIGHT, French), Dik::Right);
}

// A virtual controller plays through the loop's own pieces: the SDL platform's events and key
// snapshot, the menu-key translator and the game. Keys count only while the window has the focus,
// which needs a real X display (xvfb-run, without a window manager: the test gives the focus).
TEST(Gamepads, PlayTheMenuAndTheDiverUntilThePadIsPulledOut) {
  test::TempDir dir;
  PlatformOptions options;
  options.window = true, options.sound = false;
  const std::unique_ptr<Platform> platform = CreatePlatform(options);
  ASSERT_TRUE(platform->CreateMainWindow());
  for (int i = 0; i < 50 && SDL_GetKeyboardFocus() == nullptr; ++i) {
    for (Uint32 id = 1; id < 8; ++id) if (SDL_Window* w = SDL_GetWindowFromID(id)) SDL_SetWindowInputFocus(w);
    SDL_Delay(100), SDL_PumpEvents();
  }
  Game game{*platform, *platform};
  game.Startup(1);
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX, desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  const int device = SDL_JoystickAttachVirtualEx(&desc);
  SDL_Joystick* stick = SDL_JoystickOpen(device);
  ASSERT_TRUE(SDL_IsGameController(device) && stick != nullptr) << SDL_GetError();
  MenuKeys menuKeys;
  std::vector<WindowEventType> events;
  const auto frame = [&] {  // one frame of the loop; the keys held in it
    for (WindowEvent event; platform->PollEvent(event);) events.push_back(event.type);
    KeySnapshot keys;
    EXPECT_TRUE(ReadKeySnapshot(*platform, keys));
    for (const WindowEvent& e : menuKeys.Translate(keys, game)) {
      if (e.type == WindowEventType::MouseMove) game.OnMouseMove(e.x, e.y);
      if (e.type == WindowEventType::LeftButtonDown) game.OnLeftButtonDown(e.x, e.y);
    }
    game.RenderFrame(keys);
    std::vector<int> down;
    for (int code = 0; code < 256; ++code) if (keys.state[code] != 0) down.push_back(code);
    return down;
  };
  using Codes = std::vector<int>;
  for (int a : {1, 0, 1, 0}) {  // the first press shows the selection frame, the second chooses
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, a);
    EXPECT_EQ(frame(), a ? Codes{Dik::Space} : Codes{});
  }
  ASSERT_EQ(game.CurrentScreen(), GameScreen::Game);
  const int startX = game.diver.x;
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(frame(), Codes{Dik::Right});
  EXPECT_GT(game.diver.x, startX);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -12000);  // under half deflection
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -30000);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, 1);
  events.clear();
  EXPECT_EQ(frame(), (Codes{Dik::Space, Dik::Left}));
  frame();  // the Esc that B posts comes after the events of the frame it was pressed in
  EXPECT_EQ(events, std::vector<WindowEventType>{WindowEventType::EscapeDown});  // B is Esc
  SDL_JoystickClose(stick);
  SDL_JoystickDetachVirtual(device);  // with the stick and A still held
  EXPECT_EQ(frame(), Codes{});
}

}  // namespace
}  // namespace tavi
