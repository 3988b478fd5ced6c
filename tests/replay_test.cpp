// Whole runs of the program: recorded play replays frame for frame, and a stored game still
// plays out exactly as it did.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/options.h"
#include "app/program.h"
#include "fake_platform.h"

namespace tavi {
namespace {

// A player at the keyboard: mouse events and keys scripted by frame, a clock that is always late
// enough for the next frame.
class ScriptedPlayer : public test::FakePlatform {
 public:
  bool PollEvent(WindowEvent& event) override {
    if (presents == 2 && step == 0) return Next(event, {WindowEventType::MouseMove, 500, 260});
    if (presents == 3 && step == 1) return Next(event, {WindowEventType::LeftButtonDown, 484, 244});
    if (presents == 400 && step == 2) return Next(event, {WindowEventType::EscapeDown, 0, 0});
    if (presents == 430 && step == 3) return Next(event, {WindowEventType::Close, 0, 0});
    return false;
  }
  bool ReadKeys(std::uint8_t (&state)[256]) override {
    for (auto& k : state) k = 0;
    if (presents > 10 && presents < 120) state[0xD0] = 0x80;    // down
    if (presents > 60 && presents < 200) state[0xCD] = 0x80;    // right
    if (presents > 150 && presents < 300) state[0x39] = 0x80;   // the net
    if (presents > 250 && presents < 330) state[0xC8] = 0x80;   // up
    return (presents % 97) != 50;  // now and then the keyboard cannot be read
  }
  std::int64_t Counter() override { return counter += 1000; }

 private:
  bool Next(WindowEvent& event, WindowEvent scripted) {
    event = scripted;
    ++step;
    return true;
  }
  int step = 0;
};

TEST(Replay, RecordedPlayReplaysToTheSameTrace) {
  test::TempDir dir;
  {
    ScriptedPlayer player;
    Options live;
    live.seed = 31337;
    live.record = "play.demo";
    live.trace = "live.trace";
    ASSERT_EQ(RunProgram(live, player), 0);
  }
  test::FakePlatform machine;
  Options replay;
  replay.headless = true;
  replay.timedemo = "play.demo";
  replay.trace = "replay.trace";
  ASSERT_EQ(RunProgram(replay, machine), 0);

  const std::string live = test::ReadFile("live.trace");
  EXPECT_EQ(test::ReadLines("live.trace").size(), 430u);
  EXPECT_NE(live.find(" 1 "), std::string::npos);  // a game was played
  EXPECT_EQ(test::ReadFile("replay.trace"), live);
}

TEST(Replay, StoredGameOverByLivesPlaysTheSame) {
  test::TempDir dir;
  const std::string command = std::string("SDL_AUDIODRIVER=dummy ") + TAVI_EXE +
                              " --headless --timedemo " TAVI_TEST_DATA "/gameover.demo"
                              " --trace out.trace > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const auto expected = test::ReadLines(TAVI_TEST_DATA "/gameover.trace");
  const auto actual = test::ReadLines("out.trace");
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(actual[i], expected[i]) << "frame " << i;
  // The game ends by lives: the last frame of the game shows none left.
  EXPECT_EQ(expected[435].substr(0, 10), "435 0 0 0 ");
}

}  // namespace
}  // namespace tavi

namespace tavi {
namespace {

TEST(Replay, EnteringANameLeavesExactlyTheExpectedFile) {
  test::TempDir dir;
  const std::string command = std::string("SDL_AUDIODRIVER=dummy ") + TAVI_EXE +
                              " --headless --timedemo " TAVI_TEST_DATA "/highscore_entry.demo"
                              " --data-dir . > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  // "tavi" with its terminator and two points on top; nine cleared entries below.
  std::string expected("tavi\0\0\0\0\0\0\0\0\x02\0\0\0", 16);
  for (int i = 1; i < 10; ++i) expected += std::string("-\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16);
  EXPECT_EQ(test::ReadFile("Highscore.dat"), expected);
}

}  // namespace
}  // namespace tavi
