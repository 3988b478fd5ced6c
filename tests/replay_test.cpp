// Whole runs of the program: recorded play replays frame for frame, and a stored game still
// plays out exactly as it did.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fake_platform.h"

namespace tavi {
namespace {

// Runs the built game headless in the working directory; true when it ended with status 0.
bool Play(const std::string& arguments) {
  const std::string command = std::string("SDL_AUDIODRIVER=dummy ") + TAVI_EXE + " --headless " + arguments +
                              " > /dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

TEST(Replay, RecordedPlayReplaysToTheSameTrace) {
  test::TempDir dir;
  ASSERT_TRUE(Play("--timedemo " TAVI_TEST_DATA "/gameover.demo --record play.demo --trace first.trace"));
  ASSERT_TRUE(Play("--timedemo play.demo --trace replay.trace"));
  EXPECT_EQ(test::ReadLines("first.trace").size(), 540u);
  EXPECT_EQ(test::ReadFile("replay.trace"), test::ReadFile("first.trace"));
}

TEST(Replay, StoredGameOverByLivesPlaysTheSame) {
  test::TempDir dir;
  // Not headless: the effects are looked up and played on the dummy audio device.
  const std::string command = std::string("SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy ") + TAVI_EXE +
                              " --timedemo " TAVI_TEST_DATA "/gameover.demo"
                              " --trace out.trace > /dev/null 2> err.txt";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const auto expected = test::ReadLines(TAVI_TEST_DATA "/gameover.trace");
  const auto actual = test::ReadLines("out.trace");
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(actual[i], expected[i]) << "frame " << i;
  // The game ends by lives: the last frame of the game shows none left.
  EXPECT_EQ(expected[435].substr(0, 10), "435 0 0 0 ");
  // Every effect of the lost lives was found by its name: no message box.
  EXPECT_EQ(test::ReadFile("err.txt"), "");
}

TEST(Replay, EnteringANameLeavesExactlyTheExpectedFile) {
  test::TempDir dir;
  ASSERT_TRUE(Play("--timedemo " TAVI_TEST_DATA "/highscore_entry.demo --data-dir ."));
  // "tavi" with its terminator and two points on top; nine cleared entries below.
  std::string expected("tavi\0\0\0\0\0\0\0\0\x02\0\0\0", 16);
  for (int i = 1; i < 10; ++i) expected += std::string("-\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16);
  EXPECT_EQ(test::ReadFile("Highscore.dat"), expected);
}

}  // namespace
}  // namespace tavi
