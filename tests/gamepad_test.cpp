// Gamepads and the keyboard layout, both turned into the key snapshot the game already reads.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/bound_input.h"
#include "app/game.h"
#include "app/menu_keys.h"
#include "base/name_keys.h"
#include "fake_platform.h"
#include "input/keyboard.h"
#include "platform/layout_keys.h"
#include "platform/platform.h"
#include "platform/typed_keys.h"

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

// What a key made while a name is typed decides its code; the modifiers that helped stay out.
TEST(LayoutKeys, TypedNamesTakeTheCharacterMadeWithShiftAltGrOrCapsLock) {
  TypedKeys typed;
  const std::uint8_t t = 0x14, four = 0x05, q = 0x10, y = 0x15, z = 0x2C, comma = 0x33, numpad4 = 0x4B;
  EXPECT_EQ(typed.Code(t, t), t);  // nothing made yet (held from before, or no text): as usual
  const struct { std::uint8_t physical, usual; const char* made; std::uint8_t code; } keys[] = {
      {t, t, "T", t},                              // a capital types its letter
      {four, four, "4", four},                     // Shift+4 on AZERTY
      {numpad4, numpad4, "4", four},               // the keypad types digits too
      {y, z, "Y", z},                              // US "y" on the German table's code
      {four, four, "'", 0},                        // AZERTY 4 unshifted: "'" is no name character
      {q, q, "@", 0},                              // AltGr+Q on German: neither "@" nor "q"
      {comma, comma, ",", comma},                  // a key typing nothing still hides those below
      {t, t, "\xC3\xBE", 0},                       // a letter a name cannot hold
  };
  for (const auto& key : keys) {
    typed.Typed(key.physical, key.made);
    EXPECT_EQ(typed.Code(key.physical, key.usual), key.code) << &key - &keys[0];
  }
  typed.Released(q);
  EXPECT_EQ(typed.Code(q, q), q);
  for (std::uint8_t modifier : {Dik::LShift, Dik::RShift, Dik::RAlt, Dik::CapsLock}) EXPECT_EQ(typed.Code(modifier, modifier), 0);
  typed.Clear();
  EXPECT_EQ(typed.Code(four, four), four);
}

// A virtual controller plays through the loop's own pieces: the SDL platform's events and key
// snapshot through the input step, the menu keys and the game. Keys count only while the window has the focus, which
// needs a real X display (xvfb-run, without a window manager: the test gives the focus).
class Gamepads : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformOptions options;
    options.window = true, options.sound = false;
    platform = CreatePlatform(options);
    ASSERT_TRUE(platform->CreateMainWindow());
    for (int i = 0; i < 50 && SDL_GetKeyboardFocus() == nullptr; ++i) {
      for (Uint32 id = 1; id < 8; ++id) if (SDL_Window* w = SDL_GetWindowFromID(id)) SDL_SetWindowInputFocus(w);
      SDL_Delay(100), SDL_PumpEvents();
    }
    input = std::make_unique<BoundInput>(*platform, KeyBindings{});
    game = std::make_unique<Game>(*platform, *input);
    game->Startup(1);
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX, desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    device = SDL_JoystickAttachVirtualEx(&desc);
    stick = SDL_JoystickOpen(device);
    ASSERT_TRUE(SDL_IsGameController(device) && stick != nullptr) << SDL_GetError();
  }
  void TearDown() override {
    if (stick != nullptr) SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(device);
  }

  // One frame of the loop: its events go on (key presses through the menu keys); the keys held in it.
  std::vector<int> Frame() {
    for (WindowEvent event; input->PollEvent(event);) {
      events.push_back(event.type == WindowEventType::KeyPress ? event.key : Other + static_cast<int>(event.type));
      for (const WindowEvent& e : MenuKeyEvents(event, game->Screens())) game->HandleEvent(e);
    }
    KeySnapshot keys;
    EXPECT_TRUE(ReadKeySnapshot(*input, keys));
    game->RenderFrame(keys);
    std::vector<int> down;
    for (int code = 0; code < 256; ++code) if (keys.state[code] != 0) down.push_back(code);
    return down;
  }

  test::TempDir dir;
  std::unique_ptr<Platform> platform;
  std::unique_ptr<BoundInput> input;  // the loop's input step
  std::unique_ptr<Game> game;
  int device = -1;
  SDL_Joystick* stick = nullptr;
  static constexpr int Other = 1000;
  std::vector<int> events;  // a key press as its code, other events as Other + their type
};

using Codes = std::vector<int>;

TEST_F(Gamepads, PlayTheMenuAndTheDiverUntilThePadIsPulledOut) {
  EXPECT_EQ(Frame(), Codes{});  // the pad is opened
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);  // chooses "new game"
  EXPECT_EQ(Frame(), Codes{Dik::Space});
  ASSERT_EQ(game->Screens().CurrentScreen(), GameScreen::Game);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 0);
  const int startX = game->GetDiver().x;
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Frame(), Codes{Dik::Right});
  EXPECT_GT(game->GetDiver().x, startX);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -12000);  // under half deflection
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -30000);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, 1);
  events.clear();
  EXPECT_EQ(Frame(), (Codes{Dik::Space, Dik::Left}));
  Frame();  // the Esc that B posts comes after the events of the frame it was pressed in
  std::sort(events.begin(), events.end());
  EXPECT_EQ(events, (std::vector<int>{Dik::Space, Dik::Left, Other + static_cast<int>(WindowEventType::EscapeDown)}));
  SDL_JoystickDetachVirtual(device);  // with the stick and A still held
  EXPECT_EQ(Frame(), Codes{});
}

TEST_F(Gamepads, AStickRestingDeflectedCountsOnceCentredAndTypingTakesNoDirections) {
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 30000);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Frame(), Codes{});
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 0);
  EXPECT_EQ(Frame(), Codes{});
  events.clear();
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 30000);
  EXPECT_EQ(Frame(), Codes{Dik::Down});
  EXPECT_EQ(events, std::vector<int>{Dik::Down});
  EXPECT_EQ(game->Screens().Context().SelectionFrame().y, 346);  // one step down the menu

  // On the name entry the stick and d-pad leave the typing keys alone; A is still the space.
  game->Screens().Show(GameScreen::NewHighscore);
  input->SetTyping(true);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
  EXPECT_EQ(Frame(), Codes{});
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
  EXPECT_EQ(Frame(), Codes{Dik::Space});
  EXPECT_EQ(game->GetNameEntry().EnteredName, " ");
}

}  // namespace
}  // namespace tavi
