// The settings file: values and their reports, lines of any length, files that are no settings,
// the write-back that changes only the game's own values in place, and what the game remembers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "app/ini_text.h"
#include "app/options.h"
#include "app/settings.h"
#include "app/settings_save.h"
#include "base/error_log.h"
#include "fake_platform.h"
#include "platform/window_fit.h"

namespace tavi {
namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

SettingsFile Parsed(const std::string& text) {
  SettingsFile file;
  file.path = "tavi.ini";
  ParseSettings(text, file);
  return file;
}

std::vector<std::string> Words(const SettingsFile& file) {
  std::vector<std::string> words;
  for (const SettingsProblem& problem : file.problems) words.push_back(problem.Words());
  return words;
}

ino_t Inode(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(Settings, BadValuesAreReportedWithTheirLinesAndTheDefaultsUsed) {
  const SettingsFile file = Parsed(
      "[display]\nfullscreen = no\nwindow_width = 800\nwindow_height = 16384\nscaling = sharp\n"
      "[sound]\nmusic_volume = 101\neffect_volume = 40\n"
      "[keys]\nup = W\ndown = F9\nleft = ESCAPE\nright = 0xFF\nnet = PAUSE\npause = PAUSE\n");
  const Settings& v = file.values;
  EXPECT_TRUE(!v.fullscreen && v.windowWidth == 800 && v.windowHeight == 768 && v.scaling == Scaling::Sharp &&
              v.musicVolume == 100 && v.effectVolume == 40);
  const KeyBindings defaults;
  EXPECT_TRUE(v.keys.keys[KeyBindings::Up] == 0x11 && v.keys.keys[KeyBindings::Pause] == Dik::Pause);
  for (int action : {KeyBindings::Down, KeyBindings::Left, KeyBindings::Right, KeyBindings::Net}) {
    EXPECT_EQ(v.keys.keys[action], defaults.keys[action]) << action;
  }
  const auto words = Words(file);
  ASSERT_EQ(words.size(), 6u);
  EXPECT_EQ(words[0], "tavi.ini:4: [display] window_height = \"16384\" ist keine Zahl von 240 bis 7680; "
                      "es gilt die Voreinstellung 768.");
  EXPECT_NE(words[1].find("tavi.ini:7: [sound] music_volume = \"101\""), std::string::npos);
  EXPECT_NE(words[2].find(":11: [keys] down = \"F9\" ist eine Taste, die das Spiel selbst braucht"), std::string::npos);
  EXPECT_NE(words[3].find(":12: [keys] left = \"ESCAPE\""), std::string::npos);
  EXPECT_NE(words[4].find(":13: [keys] right = \"0xFF\" ist ein Code, den keine Taste sendet"), std::string::npos);
  EXPECT_NE(words[5].find(":14: [keys] net = \"PAUSE\""), std::string::npos);
}

TEST(Settings, LinesOfAnyLengthAreReadWhole) {
  const SettingsFile file = Parsed("; " + std::string(300, 'x') + "\n[keys]\n; " + std::string(500, 'y') +
                                   " up = Z\nnet = N ; " + std::string(400, 'z') + "\nno setting here\nup = 0x" +
                                   std::string(300, '0') + "\n");
  EXPECT_EQ(file.state, SettingsFile::State::Unparsable);
  EXPECT_EQ(file.values.keys.keys[KeyBindings::Net], 0x31);
  EXPECT_EQ(file.values.keys.keys[KeyBindings::Up], Dik::Up);  // neither the comment's tail nor the junk
  const auto words = Words(file);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0], "tavi.ini:5: keine Einstellung; die Datei bleibt, wie sie ist.");
  const std::string cut = "tavi.ini:6: [keys] up = \"0x" + std::string(38, '0') + "...\" ";
  EXPECT_EQ(words[1].substr(0, cut.size()), cut);
}

TEST(Settings, WriteBackChangesOnlyTheOwnedValuesInPlace) {
  test::TempDir dir;
  const std::string longEntry = "long = " + std::string(1000, 'z') + "\n";
  Write("tavi.ini",
        "; mine\n[display]\nwindow_width = 640 ; by hand\nwindow_height=480\nwindow_width = 700\n  fullscreen = true\n"
        "[sound]\nmusic_volume = 30 ; loud\n\n[mods]\nnote = ;starts with a semicolon\n" + longEntry);
  ErrorLog log(nullptr, "log.txt");
  const SettingsFile file = StartSettings("tavi.ini");
  ASSERT_TRUE(file.problems.empty());
  EXPECT_TRUE(file.values.windowWidth == 700 && file.values.windowHeight == 480 && file.values.musicVolume == 30);
  // Edited by the player while the game runs: kept.
  std::string edited = test::ReadFile("tavi.ini");
  edited.replace(edited.find("30 ;"), 2, "60");
  edited += "[keys]\nup = W\n";
  Write("tavi.ini", edited);

  Settings atExit = file.values;
  atExit.windowWidth = 900;
  atExit.windowHeight = 600;
  atExit.fullscreen = false;
  atExit.muted = true;
  atExit.musicVolume = 10;  // no value of the game's: never written
  RememberSettings(file, atExit, log);
  EXPECT_EQ(test::ReadFile("tavi.ini"),
            "; mine\n[display]\nwindow_width = 640 ; by hand\nwindow_height=600\nwindow_width = 900\n  fullscreen = false\n"
            "[sound]\nmusic_volume = 60 ; loud\nmuted = true\n\n[mods]\nnote = ;starts with a semicolon\n" + longEntry +
            "[keys]\nup = W\n");
  EXPECT_EQ(test::ReadFile("log.txt"), "");

  // Nothing changed: the file is not even replaced.
  const SettingsFile again = StartSettings("tavi.ini");
  EXPECT_TRUE(again.problems.empty() && again.values.windowWidth == 900 && again.values.muted);
  const ino_t inode = Inode("tavi.ini");
  RememberSettings(again, again.values, log);
  EXPECT_EQ(Inode("tavi.ini"), inode);
}

TEST(Settings, NewEntriesFollowTheFilesLineBreaks) {
  std::string text = "\xEF\xBB\xBF[a]\r\nx =  ; none yet\r\n";
  SetIniValue(text, "a", "x", "1");
  SetIniValue(text, "a", "y", "2");
  SetIniValue(text, "b", "z", "3");
  EXPECT_EQ(text, "\xEF\xBB\xBF[a]\r\nx = 1  ; none yet\r\ny = 2\r\n\r\n[b]\r\nz = 3\r\n");
  const std::vector<IniLine> lines = SplitIni(text);
  EXPECT_TRUE(lines[0].kind == IniLine::Kind::Section && lines[1].value == "1" && lines[5].value == "3");
}

TEST(Settings, FilesThatAreNoSettingsAreNeitherReadNorReplaced) {
  test::TempDir dir;
  ErrorLog log(nullptr, "log.txt");
  Settings changed;
  changed.windowWidth = 640;
  auto check = [&](const char* name, SettingsFile::State state, const std::string& report) {
    const std::string before = test::ReadFile(name);
    const SettingsFile file = StartSettings(name);
    EXPECT_EQ(file.state, state) << name;
    ASSERT_FALSE(file.problems.empty()) << name;
    EXPECT_NE(file.problems[0].Words().find(report), std::string::npos) << file.problems[0].Words();
    RememberSettings(file, changed, log);
    EXPECT_EQ(test::ReadFile(name), before) << name;
  };
  // Neither read nor written, without waiting for a writer or a reader.
  ASSERT_EQ(::mkfifo("fifo.ini", 0600), 0);
  const SettingsFile fifo = StartSettings("fifo.ini");
  EXPECT_EQ(Words(fifo), std::vector<std::string>{"fifo.ini: not a regular file; es gelten die Voreinstellungen."});
  RememberSettings(fifo, changed, log);
  struct stat info {};
  EXPECT_TRUE(::stat("fifo.ini", &info) == 0 && S_ISFIFO(info.st_mode));
  Write("large.ini", std::string(MaxSettingsBytes + 1, ';'));
  check("large.ini", SettingsFile::State::Unreadable, "large.ini: larger than");
  Write("binary.ini", std::string("[display]\0", 10));
  check("binary.ini", SettingsFile::State::Unreadable, "binary.ini: keine Textdatei");
  Write("broken.ini", "[display]\nwindow_width = 900\nthis line is no setting\n");
  check("broken.ini", SettingsFile::State::Unparsable, "broken.ini:3: keine Einstellung");
  // Left alone like a read-only highscore list, even by root.
  Write("readonly.ini", "[display]\nwindow_width = 900\n");
  ::chmod("readonly.ini", 0444);
  const SettingsFile readOnly = StartSettings("readonly.ini");
  RememberSettings(readOnly, changed, log);
  EXPECT_EQ(test::ReadFile("readonly.ini"), "[display]\nwindow_width = 900\n");
  // Broken while the game ran.
  Write("later.ini", "[display]\nwindow_width = 900\n");
  const SettingsFile later = StartSettings("later.ini");
  Write("later.ini", "[display]\nwindow_width = 900\n[keys\n");
  RememberSettings(later, changed, log);
  EXPECT_EQ(test::ReadFile("later.ini"), "[display]\nwindow_width = 900\n[keys\n");
  const auto lines = test::ReadLines("log.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 58), "Die Einstellungen wurden nicht gespeichert: readonly.ini: ");
  EXPECT_EQ(lines[1], "Die Einstellungen wurden nicht gespeichert: later.ini:3: keine Einstellung; die Datei bleibt, "
                      "wie sie ist.");
}

class ExitPlatform : public test::FakePlatform {
 public:
  WindowSize WindowedSize() override { return size; }
  bool FullScreen() override { return fullScreen; }
  WindowSize size;
  bool fullScreen = false;
};

TEST(Settings, WhatTheGameRemembersIsReadBack) {
  test::TempDir dir;
  ErrorLog log(nullptr, "log.txt");
  const SettingsFile file = StartSettings("tavi.ini");  // missing: made with the defaults
  EXPECT_EQ(test::ReadFile("tavi.ini"), DefaultSettingsText());
  Options windowOption;
  windowOption.window = true;
  const PlatformOptions started = PlatformOptionsFor(windowOption, file.values);
  ExitPlatform platform;
  platform.size = {200, 150};  // smaller than a window may be remembered
  platform.audio.musicMuted = true;
  const Settings atExit = SettingsAtExit(file.values, started, platform);
  EXPECT_TRUE(atExit.fullscreen);  // --window is no choice to remember
  // Alt+Enter's choice is.
  EXPECT_FALSE(SettingsAtExit(Settings{}, PlatformOptionsFor(Options{}, Settings{}), platform).fullscreen);
  Settings windowed;
  windowed.fullscreen = false;
  platform.fullScreen = true;
  EXPECT_TRUE(SettingsAtExit(windowed, PlatformOptionsFor(windowOption, windowed), platform).fullscreen);
  RememberSettings(file, atExit, log);
  const SettingsFile again = StartSettings("tavi.ini");
  EXPECT_TRUE(again.problems.empty());
  EXPECT_TRUE(again.values.windowWidth == 320 && again.values.windowHeight == 240 && again.values.muted);
  EXPECT_TRUE(PlatformOptionsFor(Options{}, again.values).muted);
}

TEST(Settings, TheCommandLineWins) {
  Settings settings;
  settings.scaling = Scaling::Sharp;
  settings.windowWidth = 800;
  Options options;
  PlatformOptions platform = PlatformOptionsFor(options, settings);
  EXPECT_TRUE(!platform.window && platform.scaling == Scaling::Sharp && platform.windowSize.width == 800);
  options.window = true;
  options.scaling = Scaling::SharpInteger;
  platform = PlatformOptionsFor(options, settings);
  EXPECT_TRUE(platform.window && platform.scaling == Scaling::SharpInteger);
}

TEST(WindowFit, ALargeWindowShrinksIntoTheDisplayWithItsAspect) {
  EXPECT_EQ(FitWindow({1024, 768}, {1920, 1080}).width, 1024);
  for (const WindowSize room : {WindowSize{1920, 1080}, WindowSize{1080, 1920}, WindowSize{800, 600}}) {
    const WindowSize fitted = FitWindow({2500, 1800}, room);
    EXPECT_TRUE(fitted.width <= room.width && fitted.height <= room.height);
    EXPECT_GE(std::max(fitted.width * 10 / room.width, fitted.height * 10 / room.height), 8);  // not needlessly small
    EXPECT_NEAR(fitted.width * 1800.0 / fitted.height, 2500.0, 4.0);
  }
}

}  // namespace
}  // namespace tavi
