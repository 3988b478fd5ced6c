// The player's keys: the codes a binding may take, and the bindings applied once above the
// platform, to presses, the pause letter and the key snapshot, never while a name is typed nor to a
// game controller's keys.
#include <gtest/gtest.h>

#include <vector>

#include "app/bound_input.h"
#include "base/dik.h"
#include "base/key_bindings.h"
#include "base/keyboard_keys.h"
#include "fake_platform.h"
#include "platform/scancodes.h"

namespace tavi {
namespace {

TEST(KeyBindings, SettingsKnowTheCodesThatTheKeyboardSends) {
  for (int dik = 1; dik < 256; ++dik) {
    bool sent = false;
    for (int scancode = 0; scancode < 512; ++scancode) sent = sent || DikFromSdlScancode(scancode) == dik;
    EXPECT_EQ(KeyboardSendsDik(dik), sent) << dik;
  }
}

using T = WindowEventType;
using Passed = std::vector<std::pair<T, int>>;
constexpr std::uint8_t W = 0x11, F = 0x21;

// What the input hands on of presses of W, the Up arrow and F, the pause letter and a pad's Up.
Passed Pass(test::FakePlatform& platform, BoundInput& input) {
  platform.events = {{T::KeyPress, 0, 0, W}, {T::KeyPress, 0, 0, Dik::Up}, {T::KeyPress, 0, 0, F},
                     {T::PauseLetter, 0, 0, Dik::P}, {T::KeyPress, 0, 0, Dik::Up, false, true}};
  Passed out;
  for (WindowEvent event; input.PollEvent(event);) out.emplace_back(event.type, event.key);
  return out;
}

TEST(BoundInput, KeysStandForTheirActionsWhileNoNameIsTyped) {
  test::FakePlatform platform;
  KeyBindings keys;  // W swims up, the Up arrow down, and F pauses
  keys.keys[KeyBindings::Up] = W, keys.keys[KeyBindings::Down] = Dik::Up, keys.keys[KeyBindings::Pause] = F;
  BoundInput bound(platform, keys);
  // P is a key like any other; the pad's Up is the game's own code.
  EXPECT_EQ(Pass(platform, bound), (Passed{{T::KeyPress, Dik::Up}, {T::KeyPress, Dik::Down}, {T::PauseLetter, F},
                                           {T::KeyPress, Dik::P}, {T::KeyPress, Dik::Up}}));
  // Held together, the swapped keys do not mask each other; the pad's keys join after the bindings.
  std::uint8_t state[256] = {};
  platform.keys[W] = platform.keys[Dik::Up] = 0x80;
  ASSERT_TRUE(bound.ReadKeys(state));
  EXPECT_TRUE(state[Dik::Up] && state[Dik::Down] && !state[W]);
  platform.keys[W] = 0, platform.padKeys = {Dik::Up};
  ASSERT_TRUE(bound.ReadKeys(state));
  EXPECT_TRUE(state[Dik::Up]);
  // A name is typed: every key is itself again in the snapshot and as a press, and the platform knows.
  bound.SetTyping(true);
  platform.keys[W] = 0x80;
  ASSERT_TRUE(bound.ReadKeys(state));
  EXPECT_TRUE(state[W] && state[Dik::Up] && platform.typing);
  EXPECT_EQ(Pass(platform, bound), (Passed{{T::KeyPress, W}, {T::KeyPress, Dik::Up}, {T::KeyPress, F},
                                           {T::PauseLetter, Dik::P}, {T::KeyPress, Dik::Up}}));
}

}  // namespace
}  // namespace tavi
