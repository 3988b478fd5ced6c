#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "fake_platform.h"
#include "graphics/error_log.h"
#include "input/keyboard.h"
#include "input/name_entry.h"

namespace tavi {
namespace {

constexpr std::uint32_t KeyA = 0x1E;
constexpr std::uint32_t KeyB = 0x30;
constexpr std::uint32_t KeyC = 0x2E;
constexpr std::uint32_t KeyQ = 0x10;

class NameEntryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(keyboard.Init(&platform, errors), 1); }

  // One frame of the name-entry screen with exactly these keys down.
  void Frame(std::initializer_list<std::uint32_t> codes) {
    std::memset(platform.keys, 0, sizeof platform.keys);
    for (std::uint32_t code : codes) platform.keys[code] = 0x80;
    entry.Update();
  }
  // Presses and releases each key in turn, one frame each.
  void Type(std::initializer_list<std::uint32_t> codes) {
    for (std::uint32_t code : codes) {
      Frame({code});
      Frame({});
    }
  }

  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  Keyboard keyboard;
  NameEntry entry{keyboard};
};

TEST_F(NameEntryTest, EachChangeOfTheHighestKeyAddsOneCharacter) {
  EXPECT_EQ(entry.LastChar, 0);
  for (int i = 0; i < 5; ++i) Frame({KeyA});
  EXPECT_EQ(entry.EnteredName, "a");
  Frame({});
  EXPECT_EQ(entry.LastChar, Keyboard::NoChar);
  Frame({KeyA});
  EXPECT_EQ(entry.EnteredName, "aa");

  // A held, B pressed and released while A stays down: a, b, a.
  entry.EnteredName.clear();
  Frame({});
  Frame({KeyA});
  Frame({KeyA, KeyB});
  Frame({KeyA, KeyB});
  Frame({KeyA});
  EXPECT_EQ(entry.EnteredName, "aba");
}

TEST_F(NameEntryTest, KeyOutsideTheTableHidesLowerKeys) {
  Frame({KeyQ});
  Frame({KeyQ, Dik::LShift});
  Frame({KeyQ, Dik::LShift});
  EXPECT_EQ(entry.EnteredName, "q");
  EXPECT_EQ(entry.LastChar, Keyboard::NoChar);
  Frame({KeyQ});  // Shift up: the Q still held counts again
  EXPECT_EQ(entry.EnteredName, "qq");
  Frame({KeyQ, Dik::Down});
  Frame({KeyQ});
  EXPECT_EQ(entry.EnteredName, "qqq");
}

TEST_F(NameEntryTest, NetKeyStillHeldTypesASpace) {
  Frame({Dik::Space});
  EXPECT_EQ(entry.EnteredName, " ");
}

TEST_F(NameEntryTest, BackspaceEmptiesTheWholeNameWhileHeld) {
  Type({KeyA, KeyB});
  ASSERT_EQ(entry.EnteredName, "ab");
  Frame({KeyC, Dik::Back});  // the c is added and the name emptied in the same frame
  EXPECT_EQ(entry.EnteredName, "");
  Frame({KeyC, Dik::Back});
  EXPECT_EQ(entry.EnteredName, "");
  Frame({KeyC});  // c was already seen: nothing new
  EXPECT_EQ(entry.EnteredName, "");
  Frame({Dik::Back});
  Frame({KeyC});
  EXPECT_EQ(entry.EnteredName, "c");
}

TEST_F(NameEntryTest, TwelveCharactersAtMost) {
  const std::uint32_t digits[] = {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B};
  for (std::uint32_t code : digits) Type({code});
  Type({KeyA, KeyB, KeyC});
  EXPECT_EQ(entry.EnteredName, "1234567890ab");
  EXPECT_EQ(entry.LastChar, Keyboard::NoChar);
  Frame({KeyQ});
  EXPECT_EQ(entry.LastChar, 'q');  // seen although the name is full
  EXPECT_EQ(entry.EnteredName.size(), NameEntry::MaxNameLength);
}

TEST_F(NameEntryTest, SecondEntryGoesOnFromTheFirst) {
  Type({KeyA});
  Frame({KeyB});  // the first entry ends with B still held
  ASSERT_EQ(entry.EnteredName, "ab");
  // Nothing is reset between entries: the held B is not typed again, the name stays.
  Frame({KeyB});
  EXPECT_EQ(entry.EnteredName, "ab");
  EXPECT_EQ(entry.LastChar, 'b');
}

TEST(NameEntryWithoutKeyboard, TypesNothing) {
  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  Keyboard keyboard;
  keyboard.Init(nullptr, errors);
  NameEntry entry{keyboard};
  platform.keys[0x1E] = 0x80;
  for (int i = 0; i < 3; ++i) entry.Update();
  EXPECT_EQ(entry.EnteredName, "");
}

}  // namespace
}  // namespace tavi
