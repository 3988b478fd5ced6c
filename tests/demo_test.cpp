#include <gtest/gtest.h>

#include "app/demo.h"
#include "fake_platform.h"

namespace tavi {
namespace {

TEST(DemoFile, ParsesEveryDirective) {
  Demo demo;
  std::string error;
  ASSERT_TRUE(ParseDemo("# a comment\n\nseed 42\n0 move 10 20\n0 click 30 40\n3 dblclick 1 2\n"
                        "5 keys SPACE UP 0x2A\n7 keys\n010 esc\n",
                        "d.txt", demo, error))
      << error;
  ASSERT_TRUE(demo.seed);
  EXPECT_EQ(*demo.seed, 42u);
  ASSERT_EQ(demo.lines.size(), 7u);
  EXPECT_EQ(demo.lines[2].kind, DemoLine::Kind::DoubleClick);
  EXPECT_EQ(demo.lines[3].keys, (std::vector<std::uint8_t>{0x39, 0xC8, 0x2A}));
  EXPECT_TRUE(demo.lines[4].keys.empty());
  // No quit in the file: it ends as if one followed the last line.
  EXPECT_EQ(demo.lines.back().kind, DemoLine::Kind::Quit);
  EXPECT_EQ(demo.lines.back().frame, 10);  // decimal, leading zero or not
}

TEST(DemoFile, MalformedLinesNameFileAndLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"0 move 1\n", "d.txt:1:"},
      {"\n\n3 jump\n", "d.txt:3:"},
      {"5 esc\n4 esc\n", "d.txt:2:"},
      {"0 keys NOKEY\n", "d.txt:1:"},
      {"0 esc\nseed 3\n", "d.txt:2:"},
      {"x esc\n", "d.txt:1:"},
      {"0 click -5 3\n", "d.txt:1:"},
      {"seed 99999999999\n", "d.txt:1:"},
      {"0 keys 0x100\n", "d.txt:1:"},
      {"0 keys 0x-5\n", "d.txt:1:"},
  };
  for (const auto& [text, where] : cases) {
    Demo demo;
    std::string error;
    EXPECT_FALSE(ParseDemo(text, "d.txt", demo, error)) << text;
    EXPECT_EQ(error.rfind(where, 0), 0u) << error;
  }
}

TEST(DemoPlayback, EventsArriveBeforeTheirFrameAndKeysHoldFromTheirFrameOn) {
  Demo demo;
  std::string error;
  ASSERT_TRUE(ParseDemo("0 move 5 6\n2 keys A\n2 click 7 8\n4 keys\n5 quit\n", "d", demo, error));
  DemoPlayer player(demo);
  WindowEvent event;
  std::uint8_t keys[256];

  player.BeginFrame(0);
  ASSERT_TRUE(player.PollEvent(event));
  EXPECT_EQ(event.type, WindowEventType::MouseMove);
  EXPECT_FALSE(player.PollEvent(event));
  player.BeginFrame(1);
  EXPECT_FALSE(player.PollEvent(event));
  player.ReadKeys(keys);
  EXPECT_EQ(keys[0x1E], 0);
  player.BeginFrame(2);
  player.ReadKeys(keys);
  EXPECT_NE(keys[0x1E], 0);
  ASSERT_TRUE(player.PollEvent(event));
  EXPECT_EQ(event.type, WindowEventType::LeftButtonDown);
  EXPECT_EQ(event.x, 7);
  player.BeginFrame(3);
  player.ReadKeys(keys);
  EXPECT_NE(keys[0x1E], 0);
  player.BeginFrame(4);
  player.ReadKeys(keys);
  EXPECT_EQ(keys[0x1E], 0);
  player.BeginFrame(5);
  ASSERT_TRUE(player.PollEvent(event));
  EXPECT_EQ(event.type, WindowEventType::Close);
}

TEST(DemoRecording, RecordsEventsAndKeyChangesThatReplayTheSame) {
  test::TempDir dir;
  test::FakePlatform platform;
  {
    DemoRecorder recorder("rec.txt", 77);
    KeySnapshot keys;
    recorder.SetFrame(0);
    recorder.Event({WindowEventType::MouseMove, 3, 4});
    recorder.Keys(keys);  // nothing down: nothing written
    recorder.SetFrame(3);
    keys.state[0x39] = 0x80;
    keys.state[0x2A] = 0x80;
    recorder.Keys(keys);
    recorder.Keys(keys);  // unchanged: written once
    recorder.SetFrame(6);
    keys.state[0x39] = 0;
    keys.state[0x2A] = 0;
    keys.state[0x7F] = 0x80;  // no name: written in hex
    recorder.Keys(keys);
    recorder.Event({WindowEventType::EscapeDown, 0, 0});
    recorder.SetFrame(9);
  }
  EXPECT_EQ(test::ReadFile("rec.txt"),
            "seed 77\n0 move 3 4\n3 keys LSHIFT SPACE\n6 keys 0x7F\n6 esc\n9 quit\n");
  Demo demo;
  std::string error;
  EXPECT_TRUE(LoadDemo("rec.txt", demo, error)) << error;
}

}  // namespace
}  // namespace tavi
