// The page's gamepads as keys: presses as events, held buttons and sticks in the key snapshot.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "base/dik.h"
#include "platform/pad_keys.h"

namespace tavi {
namespace {

struct Looked {
  std::deque<WindowEvent> presses;
  std::uint8_t keys[256] = {};
};

Looked LookAt(PadKeys& pads, const std::vector<PadLook>& looks, bool typing = false) {
  Looked out;
  pads.Look(looks, out.presses);
  pads.AddHeldKeys(out.keys, !typing);
  return out;
}

PadLook Stick(double x, double y) {
  PadLook look;
  look.connected = true;
  look.x = x;
  look.y = y;
  return look;
}

TEST(PadKeys, AStickCountsOnlyAfterTheCentreAndPressesOncePerDeflection) {
  PadKeys pads;
  // Resting deflected from the start: nothing.
  Looked looked = LookAt(pads, {Stick(-0.9, 0)});
  EXPECT_TRUE(looked.presses.empty());
  EXPECT_EQ(looked.keys[Dik::Left], 0);
  LookAt(pads, {Stick(0.1, 0)});
  looked = LookAt(pads, {Stick(0, 0.8)});
  ASSERT_EQ(looked.presses.size(), 1u);
  EXPECT_EQ(looked.presses[0].key, Dik::Down);
  EXPECT_EQ(looked.keys[Dik::Down], 0x80);
  // Trembling about half deflection: held while past it, no second press.
  EXPECT_TRUE(LookAt(pads, {Stick(0, 0.4)}).presses.empty());
  looked = LookAt(pads, {Stick(0, 0.6)});
  EXPECT_TRUE(looked.presses.empty());
  EXPECT_EQ(looked.keys[Dik::Down], 0x80);
  LookAt(pads, {Stick(0, 0)});
  EXPECT_EQ(LookAt(pads, {Stick(0, -0.7)}).presses.at(0).key, Dik::Up);
  // While a name is typed the stick holds nothing.
  EXPECT_EQ(LookAt(pads, {Stick(0, -0.7)}, true).keys[Dik::Up], 0);
}

TEST(PadKeys, ButtonsPressOnceAndAPadGoneReleasesThem) {
  PadKeys pads;
  PadLook first = Stick(0, 0);
  first.start = true;  // the press that shows a pad to the page
  PadLook second = Stick(0, 0);
  second.a = second.b = second.left = true;
  Looked looked = LookAt(pads, {first, second});
  ASSERT_EQ(looked.presses.size(), 4u);
  EXPECT_EQ(looked.presses[0].type, WindowEventType::PauseKey);
  EXPECT_EQ(looked.presses[1].type, WindowEventType::EscapeDown);
  EXPECT_EQ(looked.presses[2].key, Dik::Space);
  EXPECT_EQ(looked.presses[3].key, Dik::Left);
  EXPECT_EQ(looked.keys[Dik::Left], 0x80);
  EXPECT_EQ(looked.keys[Dik::Escape], 0);
  looked = LookAt(pads, {first, second}, true);
  EXPECT_TRUE(looked.presses.empty());
  EXPECT_EQ(looked.keys[Dik::Space], 0x80);  // A is the net, and a space in a name
  EXPECT_EQ(looked.keys[Dik::Left], 0);
  // The second pad unplugged, then plugged in again still holding A: a new press.
  EXPECT_EQ(LookAt(pads, {first}).keys[Dik::Space], 0);
  PadLook gone = second;
  gone.connected = false;
  EXPECT_EQ(LookAt(pads, {first, gone}).keys[Dik::Left], 0);
  EXPECT_EQ(LookAt(pads, {first, second}).presses.size(), 3u);
}

}  // namespace
}  // namespace tavi
