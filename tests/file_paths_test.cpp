// Where the game keeps its files: the choice from the environment, the folders it makes, and the
// installed game run from a folder without media.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "app/file_paths.h"
#include "fake_platform.h"

namespace tavi {
namespace {

TEST(FilePaths, PortableXdgAndDataDir) {
  FileEnvironment env;
  env.home = "/home/p";
  FilePaths paths = ChooseFilePaths(env);
  EXPECT_EQ(paths.highscoreFile + " " + paths.errorFile + " " + paths.settingsFile,
            "/home/p/.local/share/tavi/Highscore.dat /home/p/.local/state/tavi/error.log "
            "/home/p/.config/tavi/tavi.ini");
  EXPECT_TRUE(paths.errorFileUtf8);

  env.xdgDataHome = "/d/";
  env.xdgStateHome = "/s";
  env.xdgConfigHome = "relative";  // not absolute: ignored
  paths = ChooseFilePaths(env);
  EXPECT_EQ(paths.highscoreFile + " " + paths.errorFile + " " + paths.settingsFile,
            "/d/tavi/Highscore.dat /s/tavi/error.log /home/p/.config/tavi/tavi.ini");

  env.mediaInWorkingDirectory = true;
  paths = ChooseFilePaths(env);
  EXPECT_EQ(paths.highscoreFile + " " + paths.errorFile + " " + paths.settingsFile,
            "Highscore.dat Error.txt /home/p/.config/tavi/tavi.ini");
  EXPECT_FALSE(paths.errorFileUtf8);
  env.settingsInWorkingDirectory = true;
  EXPECT_EQ(ChooseFilePaths(env).settingsFile, "tavi.ini");

  env.dataDir = "/g";
  paths = ChooseFilePaths(env);
  EXPECT_EQ(paths.highscoreFile + paths.errorFile + paths.settingsFile, "/g/Highscore.dat/g/Error.txt/g/tavi.ini");

  FileEnvironment homeless;  // no HOME and no XDG folders: nowhere to keep anything
  paths = ChooseFilePaths(homeless);
  EXPECT_EQ(paths.highscoreFile + paths.errorFile + paths.settingsFile, "");
}

TEST(FilePaths, MakesEachMissingFolderPrivate) {
  test::TempDir dir;
  std::string error;
  ASSERT_TRUE(MakeFolders(dir.File("a/b/c"), error)) << error;
  ASSERT_TRUE(MakeFolders(dir.File("a/b/c"), error)) << error;  // there already
  struct stat info;
  for (const char* level : {"a", "a/b", "a/b/c"}) {
    ASSERT_EQ(::stat(dir.File(level).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << level;
  }
  std::FILE* file = std::fopen(dir.File("f").c_str(), "w");
  std::fclose(file);
  EXPECT_FALSE(MakeFolders(dir.File("f/g"), error));
  EXPECT_NE(error.find("f/g"), std::string::npos) << error;
}

// Run from a folder without media/, the game keeps the same list in the data folder, writes
// nothing where it was started, and finds its media beside the executable.
TEST(FilePaths, GameWithoutMediaHereUsesTheHomeFolders) {
  test::TempDir dir;
  auto run = [&](const std::string& folder, const std::string& environment) {
    std::filesystem::create_directories(folder);
    return std::system(("cd " + folder + " && " + environment + " SDL_AUDIODRIVER=dummy " + TAVI_EXE +
                        " --headless --timedemo " TAVI_TEST_DATA "/highscore_entry.demo > ../" + folder +
                        ".out 2>&1").c_str());
  };
  std::filesystem::create_directories("portable");
  std::filesystem::create_directory_symlink(TAVI_MEDIA_DIR, "portable/media");
  ASSERT_EQ(run("portable", ""), 0);
  ASSERT_EQ(run("cwd", "HOME=" + dir.File("home") + " XDG_DATA_HOME= XDG_STATE_HOME= XDG_CONFIG_HOME="), 0);
  const std::string list = test::ReadFile(dir.File("home/.local/share/tavi/Highscore.dat"));
  EXPECT_EQ(list.size(), 160u);
  EXPECT_EQ(list, test::ReadFile(dir.File("portable/Highscore.dat")));
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("cwd")));
  EXPECT_EQ(test::ReadFile(dir.File("cwd.out")).find("Fehler"), std::string::npos) << test::ReadFile(dir.File("cwd.out"));
}

}  // namespace
}  // namespace tavi
