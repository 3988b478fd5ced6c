// Whole runs of the built game on stored demos: the README's screenshots come out byte for byte
// (between them every screen, the diver, every kind of object, the backdrop, the HUD, both fonts
// and the PNG encoder; scripts/screenshots.sh makes them anew after a wanted change), and stored
// games play out exactly as they did. (Recorded play replays frame for frame: pause_test.cpp.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "fake_platform.h"

namespace tavi {
namespace {

const std::string Shots = TAVI_SOURCE_DIR "/docs/screenshots/";

// Runs the built game headless in the working directory; true when it ended with status 0.
bool Play(const std::string& arguments) {
  const std::string command = "SDL_AUDIODRIVER=dummy " TAVI_EXE " --headless " + arguments + " > /dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// Each screenshot made again from its demo, German or in `language`, is the stored one.
void ExpectStoredFrames(const std::string& language) {
  const std::string stored = Shots + (language == "de" ? "" : language + "/");
  const char* const shots[][2] = {{"--seed 1", "0:menu.png"},
                                  {"--timedemo " TAVI_SOURCE_DIR "/docs/screenshots/game.demo", "509:game.png"},
                                  {"--timedemo " TAVI_SOURCE_DIR "/docs/screenshots/screens.demo", "1528:name-entry.png"},
                                  {"--timedemo " TAVI_SOURCE_DIR "/docs/screenshots/screens.demo", "1550:highscore.png"},
                                  {"--timedemo " TAVI_SOURCE_DIR "/docs/screenshots/screens.demo", "1620:instructions.png"}};
  for (const auto& [run, shot] : shots) {
    test::TempDir dir;  // a fresh highscore list
    ASSERT_TRUE(Play("--lang " + language + " --data-dir . " + run + " --screenshot " + shot)) << run;
    const std::string picture = std::strchr(shot, ':') + 1;
    const std::string made = test::ReadFile(picture);
    EXPECT_FALSE(made.empty()) << picture << " was not written";
    EXPECT_TRUE(made == test::ReadFile(stored + picture)) << picture << " differs from " << stored;
  }
}

TEST(GoldenFrames, MenuGameNameEntryListAndInstructionsLookAsStored) { ExpectStoredFrames("de"); }
// The texts from the English catalogue, the pictures with words from media/en.
TEST(GoldenFrames, EnglishScreensLookAsStored) { ExpectStoredFrames("en"); }

TEST(Replay, StoredGameOverByLivesPlaysTheSame) {
  test::TempDir dir;
  // Not headless: the effects are looked up and played on the dummy audio device.
  const std::string command = "SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy " TAVI_EXE " --timedemo " TAVI_TEST_DATA
                              "/gameover.demo --trace out.trace > /dev/null 2> err.txt";
  ASSERT_EQ(std::system(command.c_str()), 0);
  // The game ends by lives (frame 435: none left, back on the menu with an equal score).
  EXPECT_EQ(test::ReadFile("out.trace"), test::ReadFile(TAVI_TEST_DATA "/gameover.trace"));
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
