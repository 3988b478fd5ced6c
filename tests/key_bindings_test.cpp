// The player's keys: a snapshot remapped to the game's own codes, and the [keys] settings.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/options.h"
#include "app/settings.h"
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

TEST(KeyBindings, SettingsReadNamesAndCodesAndRejectBadOnesAndClashes) {
  SettingsFile file;
  ParseSettings("[keys]\nup = w\nnet = 0x1F\npause = Q\nleft = NOKEY\nright = KANJI\n", file);
  const std::uint8_t expected[] = {W, Down, 0xCB, 0xCD, S, Q};
  EXPECT_TRUE(std::equal(expected, expected + 6, file.values.keys.keys));
  ASSERT_EQ(file.problems.size(), 2u);  // NOKEY, with LEFT used in its place, and a code no key sends
  EXPECT_NE(file.problems[0].Words().find("left = \"NOKEY\" ist weder ein Tastenname"), std::string::npos);
  EXPECT_NE(file.problems[0].Words().find("es gilt die Voreinstellung LEFT."), std::string::npos);
  EXPECT_NE(file.problems[1].Words().find("right = \"KANJI\" ist ein Code, den keine Taste sendet"), std::string::npos);
  SettingsFile clash;
  ParseSettings("[keys]\nup = P\n", clash);  // P already pauses
  EXPECT_TRUE(clash.problems.size() == 1 && !clash.values.keys.Remapped());
  EXPECT_EQ(PlatformOptionsFor(Options{}, file.values).keys.keys[KeyBindings::Net], S);
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
