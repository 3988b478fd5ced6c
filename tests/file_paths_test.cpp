// Where the game keeps its files: the choice from the environment, the folders it makes, the game
// run from folders that are portable game folders and from others, and file names in its reports.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

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

  env.workingDirectory = "/spiel";
  env.wholeMediaHere = true;
  paths = ChooseFilePaths(env);
  EXPECT_EQ(paths.highscoreFile + " " + paths.errorFile + " " + paths.settingsFile + " " + paths.portableFolder,
            "Highscore.dat Error.txt /home/p/.config/tavi/tavi.ini /spiel");
  EXPECT_FALSE(paths.errorFileUtf8);
  env.settingsInWorkingDirectory = true;
  EXPECT_EQ(ChooseFilePaths(env).settingsFile, "tavi.ini");
  env.installedDataHere = true;  // never portable, whatever it holds
  EXPECT_EQ(ChooseFilePaths(env).highscoreFile, "/d/tavi/Highscore.dat");

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

// Where the built game writes, by the folder it starts in: a folder with the game's whole media set
// or the marker is portable and says so; a stray media file or the installed data folder (here of
// an installation moved to a prefix) gets nothing written into it, the list goes to the data folder.
TEST(FilePaths, GameWritesIntoAFolderOnlyWhenItIsAPortableGameFolder) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  auto run = [&](const std::string& folder, const std::string& exe) {
    return std::system(("cd " + folder + " && HOME=" + dir.File("home") + " XDG_DATA_HOME= XDG_STATE_HOME= " +
                        "XDG_CONFIG_HOME= SDL_AUDIODRIVER=dummy " + exe + " --headless --timedemo " TAVI_TEST_DATA
                        "/highscore_entry.demo > " + dir.File(folder + ".out") + " 2>&1").c_str());
  };
  fs::create_directories("whole");
  fs::create_directory_symlink(TAVI_MEDIA_DIR, "whole/media");
  fs::create_directories("marked");
  std::fclose(std::fopen("marked/portable.txt", "w"));
  fs::create_directories("stray/media");
  fs::copy_file(TAVI_MEDIA_DIR "/cursor.bmp", "stray/media/cursor.bmp");
  for (const char* folder : {"prefix/bin", "prefix/share/tavi"}) fs::create_directories(folder);
  fs::copy_file(TAVI_EXE, "prefix/bin/tavi");
  fs::create_directory_symlink(TAVI_MEDIA_DIR, "prefix/share/tavi/media");
  EXPECT_TRUE(CurrentFileEnvironment("", dir.Path()).installedDataHere);  // the working directory
  EXPECT_FALSE(CurrentFileEnvironment("", dir.File("whole")).installedDataHere);
  for (const char* folder : {"whole", "marked", "stray"}) ASSERT_EQ(run(folder, TAVI_EXE), 0) << folder;
  ASSERT_EQ(run("prefix/share/tavi", dir.File("prefix/bin/tavi")), 0);

  // One name entered in each portable folder; both others' in the player's list.
  const std::string list = test::ReadFile("whole/Highscore.dat");
  ASSERT_EQ(list.size(), 160u);
  EXPECT_EQ(test::ReadFile("home/.local/share/tavi/Highscore.dat").substr(0, 32), list.substr(0, 16) + list.substr(0, 16));
  for (const char* folder : {"whole", "marked"}) {
    EXPECT_EQ(test::ReadFile(std::string(folder) + "/Highscore.dat"), list) << folder;
    EXPECT_NE(test::ReadFile(std::string(folder) + ".out").find("Tragbarer Spielordner: Highscore-Liste und "
              "Fehlerprotokoll werden in " + dir.File(folder) + " gespeichert"), std::string::npos) << folder;
  }
  for (const char* folder : {"stray", "prefix/share/tavi"}) {
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << folder;  // media/ only
    EXPECT_EQ(test::ReadFile(std::string(folder) + ".out").find("Tragbar"), std::string::npos) << folder;
  }
  EXPECT_EQ(test::ReadFile("stray.out").find("Fehler"), std::string::npos) << "media found beside the executable";
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
