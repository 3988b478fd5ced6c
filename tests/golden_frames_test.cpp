// Golden frames: the README's screenshots, made again by the built game from the same demos, must
// come out byte for byte. Between them they draw every screen, the diver, every kind of object, the
// scrolling backdrop, the HUD, the bitmap font, TrueType text and the PNG encoder; any change to
// what a player sees shows here. scripts/screenshots.sh makes them anew after a wanted change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fake_platform.h"

namespace tavi {
namespace {

const std::string Shots = TAVI_SOURCE_DIR "/docs/screenshots/";

void ExpectSameFrames(const std::string& arguments, std::initializer_list<const char*> pictures,
                      const std::string& stored = Shots) {
  test::TempDir dir;  // a fresh highscore list
  const std::string command =
      std::string("SDL_AUDIODRIVER=dummy ") + TAVI_EXE + " --headless --data-dir . " + arguments + " > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (const char* picture : pictures) {
    const std::string made = test::ReadFile(picture);
    EXPECT_FALSE(made.empty()) << picture << " was not written";
    EXPECT_TRUE(made == test::ReadFile(stored + picture)) << picture << " differs from " << stored;
  }
}

TEST(GoldenFrames, MenuGameNameEntryListAndInstructionsLookAsStored) {
  ExpectSameFrames("--seed 1 --screenshot 0:menu.png", {"menu.png"});
  ExpectSameFrames("--timedemo " + Shots + "game.demo --screenshot 509:game.png", {"game.png"});
  ExpectSameFrames("--timedemo " + Shots + "screens.demo --screenshot 1528:name-entry.png"
                   " --screenshot 1550:highscore.png --screenshot 1620:instructions.png",
                   {"name-entry.png", "highscore.png", "instructions.png"});
}

// English from the same demos: the texts from the catalogue, the pictures with words from media/en.
TEST(GoldenFrames, EnglishScreensLookAsStored) {
  const std::string en = Shots + "en/";
  ExpectSameFrames("--lang en --seed 1 --screenshot 0:menu.png", {"menu.png"}, en);
  ExpectSameFrames("--lang en --timedemo " + Shots + "game.demo --screenshot 509:game.png", {"game.png"}, en);
  ExpectSameFrames("--lang en --timedemo " + Shots + "screens.demo --screenshot 1528:name-entry.png"
                   " --screenshot 1550:highscore.png --screenshot 1620:instructions.png",
                   {"name-entry.png", "highscore.png", "instructions.png"}, en);
}

}  // namespace
}  // namespace tavi
