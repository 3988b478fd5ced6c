// The keyboard snapshot, its character table, and typing a name with it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/error_log.h"
#include "fake_platform.h"
#include "input/keyboard.h"
#include "input/name_entry.h"

namespace tavi {
namespace {

constexpr std::uint32_t KeyA = 0x1E, KeyB = 0x30, KeyC = 0x2E, KeyQ = 0x10;
using Keys = std::vector<std::uint32_t>;

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(keyboard.Init(&platform, errors), 1); }

  // The keys the platform has down, read as the loop reads them once a frame.
  void Read() {
    ReadKeySnapshot(platform, snapshot);
    keyboard.SetKeys(snapshot);
  }
  void Hold(const Keys& codes) {
    std::memset(platform.keys, 0, sizeof platform.keys);
    for (std::uint32_t code : codes) platform.keys[code] = 0x80;
    Read();
  }
  // One frame of the name-entry screen with exactly these keys down.
  void Frame(const Keys& codes) {
    Hold(codes);
    entry.Update();
  }

  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  Keyboard keyboard;
  NameEntry entry{keyboard};
  KeySnapshot snapshot;
};

using NameEntryTest = KeyboardTest;

TEST_F(NameEntryTest, EachChangeOfTheHighestKeyTypesOneCharacter) {
  EXPECT_EQ(entry.LastChar, 0);
  for (int i = 0; i < 5; ++i) Frame({KeyA});
  EXPECT_EQ(entry.EnteredName, "a");
  Frame({});
  EXPECT_EQ(entry.LastChar, Keyboard::NoChar);
  Frame({KeyA});
  EXPECT_EQ(entry.EnteredName, "aa");
  // A held, B pressed and released while A stays down: a, b, a.
  entry.EnteredName.clear();
  for (const Keys& keys : {Keys{}, Keys{KeyA}, Keys{KeyA, KeyB}, Keys{KeyA, KeyB}, Keys{KeyA}}) Frame(keys);
  EXPECT_EQ(entry.EnteredName, "aba");

  // Shift hides the Q below it; when Shift goes up, the Q still held counts again.
  entry.EnteredName.clear();
  for (const Keys& keys : {Keys{KeyQ}, Keys{KeyQ, Dik::LShift}, Keys{KeyQ, Dik::LShift}}) Frame(keys);
  EXPECT_EQ(entry.EnteredName, "q");
  EXPECT_EQ(entry.LastChar, Keyboard::NoChar);
  Frame({KeyQ});
  EXPECT_EQ(entry.EnteredName, "qq");
}

TEST_F(NameEntryTest, NetKeyStillHeldTypesASpaceAndBackspaceEmptiesTheNameWhileHeld) {
  Frame({Dik::Space});
  EXPECT_EQ(entry.EnteredName, " ");
  Frame({KeyA});
  Frame({KeyC, Dik::Back});  // the c is added and the name emptied in the same frame
  EXPECT_EQ(entry.EnteredName, "");
  Frame({KeyC, Dik::Back});
  Frame({KeyC});  // c was already seen: nothing new
  EXPECT_EQ(entry.EnteredName, "");
  Frame({Dik::Back});
  Frame({KeyC});
  EXPECT_EQ(entry.EnteredName, "c");
}

TEST_F(NameEntryTest, TwelveCharactersAtMostAndASecondEntryGoesOnFromTheFirst) {
  const std::uint32_t digits[] = {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B};
  for (std::uint32_t code : digits) {
    Frame({code});
    Frame({});
  }
  for (std::uint32_t code : {KeyA, KeyB, KeyC, KeyQ}) Frame({code});
  EXPECT_EQ(entry.EnteredName, "1234567890ab");
  EXPECT_EQ(entry.LastChar, 'q');  // seen although the name is full

  // Nothing is reset between entries: the held Q is not typed again.
  entry.EnteredName = "x";
  Frame({KeyQ});
  EXPECT_EQ(entry.EnteredName, "x");
}

}  // namespace
}  // namespace tavi
