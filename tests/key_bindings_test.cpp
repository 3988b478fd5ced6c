// The player's keys: a snapshot remapped to the game's own codes, and the codes a binding may take.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/key_bindings.h"
#include "base/keyboard_keys.h"
#include "platform/scancodes.h"

namespace tavi {
namespace {

constexpr std::uint8_t W = 0x11, S = 0x1F, Q = 0x10, Up = 0xC8, Down = 0xD0, Space = 0x39;

TEST(KeyBindings, BoundKeysBecomeTheGamesCodesAndTheOldKeysNothing) {
  KeyBindings bindings;
  std::uint8_t state[256] = {};
  state[W] = state[Up] = state[Space] = 0x80;
  std::uint8_t before[256];
  std::copy(state, state + 256, before);
  ApplyKeyBindings(bindings, state);  // the defaults change nothing
  EXPECT_TRUE(std::equal(state, state + 256, before));

  bindings.keys[KeyBindings::Up] = W;    // W swims up; the Up arrow is just another key
  bindings.keys[KeyBindings::Down] = Up; // and the Up arrow swims down
  bindings.keys[KeyBindings::Net] = S;   // Space no longer throws
  ApplyKeyBindings(bindings, state);
  EXPECT_TRUE(state[Up] && state[Down] && !state[Space] && !state[W]);
  state[W] = 0, state[Down] = 0, state[Up] = 0x80, state[S] = 0x80;  // the Up arrow and S
  ApplyKeyBindings(bindings, state);
  EXPECT_TRUE(!state[Up] && state[Down] && state[Space] && !state[S]);
}

TEST(KeyBindings, SettingsKnowTheCodesThatTheKeyboardSends) {
  for (int dik = 1; dik < 256; ++dik) {
    bool sent = false;
    for (int scancode = 0; scancode < 512; ++scancode) sent = sent || DikFromSdlScancode(scancode) == dik;
    EXPECT_EQ(KeyboardSendsDik(dik), sent) << dik;
  }
}

}  // namespace
}  // namespace tavi
