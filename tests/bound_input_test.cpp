// The player's key bindings, applied once above the platform: to presses, the pause letter and the
// key snapshot, never while a name is typed nor to a game controller's keys.
#include <gtest/gtest.h>

#include <vector>

#include "app/bound_input.h"
#include "base/dik.h"
#include "fake_platform.h"

namespace tavi {
namespace {

constexpr std::uint8_t W = 0x11, F = 0x21;

WindowEvent Press(std::uint8_t key, bool pad = false) { return {WindowEventType::KeyPress, 0, 0, key, false, pad}; }
WindowEvent PauseLetter() { return {WindowEventType::PauseLetter, 0, 0, Dik::P}; }

// What the input hands on for the platform's `events`: "type:key" each.
std::vector<std::string> Passed(test::FakePlatform& platform, BoundInput& input, const std::vector<WindowEvent>& events) {
  platform.events.assign(events.begin(), events.end());
  std::vector<std::string> out;
  WindowEvent event;
  while (input.PollEvent(event)) out.push_back(std::to_string(static_cast<int>(event.type)) + ":" + std::to_string(event.key));
  return out;
}

std::string Ev(WindowEventType type, std::uint8_t key) { return std::to_string(static_cast<int>(type)) + ":" + std::to_string(key); }

KeyBindings Rebound() {
  KeyBindings keys;
  keys.keys[KeyBindings::Up] = W;
  keys.keys[KeyBindings::Pause] = F;
  return keys;
}

TEST(BoundInput, PressesAndThePauseLetterStandForTheirActions) {
  test::FakePlatform platform;
  BoundInput plain(platform, KeyBindings{});
  const std::vector<WindowEvent> raw = {Press(W), Press(Dik::Up), Press(F), PauseLetter()};
  EXPECT_EQ(Passed(platform, plain, raw),
            (std::vector<std::string>{Ev(WindowEventType::KeyPress, W), Ev(WindowEventType::KeyPress, Dik::Up),
                                      Ev(WindowEventType::KeyPress, F), Ev(WindowEventType::PauseLetter, Dik::P)}));
  BoundInput bound(platform, Rebound());
  // W swims up, the Up arrow stands for nothing, F pauses and P is a key like any other.
  EXPECT_EQ(Passed(platform, bound, raw),
            (std::vector<std::string>{Ev(WindowEventType::KeyPress, Dik::Up), Ev(WindowEventType::PauseLetter, F),
                                      Ev(WindowEventType::KeyPress, Dik::P)}));
  // A name is typed: every key is itself again, and the platform knows.
  bound.SetTyping(true);
  EXPECT_TRUE(platform.typing);
  EXPECT_EQ(Passed(platform, bound, raw),
            (std::vector<std::string>{Ev(WindowEventType::KeyPress, W), Ev(WindowEventType::KeyPress, Dik::Up),
                                      Ev(WindowEventType::KeyPress, F), Ev(WindowEventType::PauseLetter, Dik::P)}));
  // A pad's press is the game's code already.
  bound.SetTyping(false);
  EXPECT_EQ(Passed(platform, bound, {Press(Dik::Up, true)}), (std::vector<std::string>{Ev(WindowEventType::KeyPress, Dik::Up)}));
}

TEST(BoundInput, TheSnapshotIsBoundBeforeThePadsKeysJoinIt) {
  test::FakePlatform platform;
  BoundInput bound(platform, Rebound());
  platform.keys[W] = 0x80;
  std::uint8_t state[256] = {};
  ASSERT_TRUE(bound.ReadKeys(state));
  EXPECT_TRUE(state[Dik::Up] && !state[W]);
  // The Up arrow held on the keyboard is nothing now, held on a pad it swims up.
  platform.keys[W] = 0;
  platform.keys[Dik::Up] = 0x80;
  ASSERT_TRUE(bound.ReadKeys(state));
  EXPECT_FALSE(state[Dik::Up]);
  platform.padKeys = {Dik::Up};
  ASSERT_TRUE(bound.ReadKeys(state));
  EXPECT_TRUE(state[Dik::Up]);
  bound.SetTyping(true);
  platform.padKeys.clear();
  platform.keys[W] = 0x80;
  ASSERT_TRUE(bound.ReadKeys(state));
  EXPECT_TRUE(state[W] && state[Dik::Up]);
}

}  // namespace
}  // namespace tavi
