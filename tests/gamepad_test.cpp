// Gamepads and the keyboard layout, both turned into the key snapshot the game already reads.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

#include "base/name_keys.h"
#include "input/keyboard.h"
#include "platform/gamepads.h"
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

// A virtual controller driving a set of pads; the SDL platform (dummy video driver) hears what
// they post. That driver never focuses the window, so the pad is let through in the background.
TEST(Gamepads, DpadStickAndButtonsAreKeysUntilThePadIsPulledOut) {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  PlatformOptions options;
  options.window = true;
  options.sound = false;
  const std::unique_ptr<Platform> platform = CreatePlatform(options);
  ASSERT_TRUE(platform->CreateMainWindow());
  Gamepads pads;
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX, desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  const int device = SDL_JoystickAttachVirtualEx(&desc);
  SDL_Joystick* stick = SDL_JoystickOpen(device);
  ASSERT_TRUE(SDL_IsGameController(device) && stick != nullptr) << SDL_GetError();
  std::vector<WindowEventType> events;
  const auto keysDown = [&] {  // one frame: the pads take the pad's events, the platform the rest
    for (SDL_Event event; SDL_PollEvent(&event) != 0;) pads.Handle(event, 0);
    for (WindowEvent event; platform->PollEvent(event);) events.push_back(event.type);
    std::uint8_t state[256] = {};
    pads.AddHeldKeys(state);
    std::vector<int> down;
    for (int code = 0; code < 256; ++code) if (state[code] != 0) down.push_back(code);
    return down;
  };
  using Codes = std::vector<int>;
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
  EXPECT_EQ(keysDown(), (Codes{Dik::Space, Dik::Right}));
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -12000);  // under half deflection
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -30000);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, 1);
  EXPECT_EQ(keysDown(), (Codes{Dik::Space, Dik::Left}));
  EXPECT_EQ(events, std::vector<WindowEventType>{WindowEventType::EscapeDown});  // B is Esc
  SDL_JoystickClose(stick);
  SDL_JoystickDetachVirtual(device);  // with the stick and A still held
  EXPECT_EQ(keysDown(), Codes{});
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, nullptr);
}

}  // namespace
}  // namespace tavi
