// Where the game keeps its files: the choice from the environment, the folders it makes, and the
// installed game run from a folder without media.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "app/file_paths.h"
#include "base/cp1252.h"
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

// A message holds a file name in the program's own encoding, whatever bytes the name has: umlauts
// read right on standard error (UTF-8, as error.log) and in Error.txt (Windows-1252).
TEST(FilePaths, FileNamesReadTheSameInEveryReport) {
  EXPECT_EQ(FileNameText("/home/j\xC3\xBCrgen/\xE2\x82\xAC"), "/home/j\xFCrgen/\x80");
  EXPECT_EQ(FileNameText("\xE6\x97\xA5\xF0\x9F\x98\x80"), "\\u65E5\\U0001F600");  // no Windows-1252 for them
  EXPECT_EQ(FileNameText("a\nb\x7F\xC2\x81"), "a\\x0Ab\\x7F\\u0081");             // control characters
  EXPECT_EQ(FileNameText("\xFC\xC0\xAF\xED\xA0\x80!"), "\\xFC\\xC0\\xAF\\xED\\xA0\\x80!");  // Latin-1, overlong, surrogate

  test::TempDir dir;
  const std::string umlauts = dir.File("j\xC3\xBCrgen");  // jürgen
  std::filesystem::create_directories(umlauts + "/Highscore.dat");  // a list that cannot be read
  ASSERT_EQ(std::system(("cd '" + umlauts + "' && SDL_AUDIODRIVER=dummy " + TAVI_EXE + " --headless --timedemo "
                         TAVI_TEST_DATA "/highscore_entry.demo --data-dir '" + umlauts + "' 2> err.txt").c_str()), 0);
  const std::string reason = "/Highscore.dat: nicht lesbar, bleibt unver";
  EXPECT_NE(test::ReadFile(umlauts + "/err.txt").find("j\xC3\xBCrgen" + reason + "\xC3\xA4ndert)"), std::string::npos);
  EXPECT_NE(test::ReadFile(umlauts + "/Error.txt").find("j\xFCrgen" + reason + "\xE4ndert)"), std::string::npos);
}

}  // namespace
}  // namespace tavi
