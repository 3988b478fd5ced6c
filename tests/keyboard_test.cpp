#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <set>

#include "fake_platform.h"
#include "graphics/error_log.h"
#include "input/keyboard.h"

namespace tavi {
namespace {

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(keyboard.Init(&platform, errors), 1); }

  void Hold(std::initializer_list<std::uint32_t> codes) {
    std::memset(platform.keys, 0, sizeof platform.keys);
    for (std::uint32_t code : codes) platform.keys[code] = 0x80;
  }
  unsigned char TypedChar() { return keyboard.CharForKey(keyboard.HighestPressedKey()); }

  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  Keyboard keyboard;
};

TEST_F(KeyboardTest, TheHighestKeyDownDecides) {
  Hold({});
  EXPECT_EQ(keyboard.HighestPressedKey(), 0u);
  EXPECT_EQ(keyboard.CharForKey(0), Keyboard::NoChar);

  Hold({0x1E, 0x30});  // A and B
  EXPECT_EQ(keyboard.HighestPressedKey(), 0x30u);
  EXPECT_EQ(TypedChar(), 'b');

  // Keys outside the table hide every typing key below them; Shift never makes capitals.
  Hold({Dik::LShift, 0x10});
  EXPECT_EQ(keyboard.HighestPressedKey(), Dik::LShift);
  EXPECT_EQ(TypedChar(), Keyboard::NoChar);
  Hold({Dik::Back});
  EXPECT_EQ(TypedChar(), Keyboard::NoChar);
  Hold({Dik::Up, 0x1E, 0x39});
  EXPECT_EQ(TypedChar(), Keyboard::NoChar);

  // Any nonzero byte counts as down, not only the 0x80 bit; scan code 0 is never looked at.
  Hold({});
  platform.keys[0x1E] = 0x01;
  platform.keys[0x00] = 0x80;
  EXPECT_EQ(keyboard.HighestPressedKey(), 0x1Eu);
}

TEST_F(KeyboardTest, CharacterTableFollowsTheGermanLayout) {
  EXPECT_EQ(keyboard.CharForKey(0x2C), 'y');  // the key DirectInput names Z
  EXPECT_EQ(keyboard.CharForKey(0x15), 'z');  // the key DirectInput names Y
  EXPECT_EQ(keyboard.CharForKey(Dik::Space), ' ');
  EXPECT_EQ(keyboard.CharForKey(0x0B), '0');
  EXPECT_EQ(keyboard.CharForKey(0x02), '1');
  EXPECT_EQ(keyboard.CharForKey(0x34), '.');
  EXPECT_EQ(keyboard.CharForKey(Dik::Return), Keyboard::NoChar);
  EXPECT_EQ(keyboard.CharForKey(0x11E), Keyboard::NoChar);  // never folded into a byte

  std::set<std::uint32_t> codes;
  std::set<unsigned char> characters;
  for (const Keyboard::KeyChar& entry : keyboard.KeyCharTable) {
    codes.insert(entry.scanCode);
    characters.insert(entry.character);
    const unsigned char c = entry.character;
    EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '.') << int{c};
  }
  EXPECT_EQ(codes.size(), 38u);
  EXPECT_EQ(characters.size(), 38u);
  EXPECT_EQ(keyboard.KeyCharTable[0].character, 'a');
  EXPECT_EQ(keyboard.KeyCharTable[37].character, '.');
}

TEST_F(KeyboardTest, FailedReadKeepsTheLastSnapshot) {
  Hold({Dik::Right});
  keyboard.Poll();
  ASSERT_TRUE(keyboard.Down(Dik::Right));

  platform.keysReadable = false;  // the window lost the focus
  Hold({});
  keyboard.Poll();
  EXPECT_TRUE(keyboard.Down(Dik::Right));
  EXPECT_EQ(keyboard.HighestPressedKey(), Dik::Right);

  platform.keysReadable = true;
  keyboard.Poll();
  EXPECT_FALSE(keyboard.Down(Dik::Right));
}

// A source that scribbles over the buffer before it reports failure.
class ScribblingSource : public KeySource {
 public:
  bool ReadKeys(std::uint8_t (&state)[256]) override {
    std::memset(state, 0xAB, sizeof state);
    return false;
  }
};

TEST_F(KeyboardTest, HalfWrittenFailedReadLeavesNoTrace) {
  Hold({0x1E});
  keyboard.Poll();
  ScribblingSource scribbler;
  Keyboard other;
  ASSERT_EQ(other.Init(&scribbler, errors), 1);
  other.Poll();
  for (std::uint8_t byte : other.KeyState) ASSERT_EQ(byte, 0);
}

TEST_F(KeyboardTest, NothingIsReadAfterRelease) {
  Hold({0x1E});
  keyboard.Poll();
  keyboard.Release();
  Hold({0x30});
  keyboard.Poll();
  EXPECT_TRUE(keyboard.Down(0x1E));
  EXPECT_FALSE(keyboard.Down(0x30));
  EXPECT_EQ(keyboard.HighestPressedKey(), 0x1Eu);
}

TEST(KeyboardInit, MissingKeyboardIsReportedAndReadsNothing) {
  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  Keyboard keyboard;
  EXPECT_EQ(keyboard.Init(nullptr, errors), 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].first, "Error");
  EXPECT_EQ(platform.messages[0].second, "Fehler beim Anlegen des DirectInput8-Objekts");

  keyboard.Poll();
  keyboard.Release();
  EXPECT_EQ(keyboard.HighestPressedKey(), 0u);
  for (std::uint8_t byte : keyboard.KeyState) EXPECT_EQ(byte, 0);
}

}  // namespace
}  // namespace tavi
