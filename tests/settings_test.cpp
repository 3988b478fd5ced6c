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
      "[keys]\nup = w\ndown = F9\nleft = ESCAPE\nright = 0xFF\nnet = PAUSE\npause = PAUSE\nright = NOKEY\n");
  const Settings& v = file.values;
  EXPECT_TRUE(!v.fullscreen && v.windowWidth == 800 && v.windowHeight == 768 && v.scaling == Scaling::Sharp &&
              v.musicVolume == 100 && v.effectVolume == 40);
  const std::uint8_t keys[] = {0x11, Dik::Down, Dik::Left, Dik::Right, Dik::Space, Dik::Pause};
  EXPECT_TRUE(std::equal(keys, keys + KeyBindings::Count, v.keys.keys));
  const auto words = Words(file);
  ASSERT_EQ(words.size(), 6u);  // the last line of a key counts: 0xFF is not reported
  EXPECT_EQ(words[0], "tavi.ini:4: [display] window_height = \"16384\" ist keine Zahl von 240 bis 7680; "
                      "es gilt die Voreinstellung 768.");
  EXPECT_NE(words[1].find("tavi.ini:7: [sound] music_volume = \"101\""), std::string::npos);
  EXPECT_NE(words[2].find(":11: [keys] down = \"F9\" ist eine Taste, die das Spiel selbst braucht"), std::string::npos);
  EXPECT_NE(words[3].find(":12: [keys] left = \"ESCAPE\""), std::string::npos);
  EXPECT_NE(words[4].find(":14: [keys] net = \"PAUSE\""), std::string::npos);
  EXPECT_EQ(words[5], "tavi.ini:16: [keys] right = \"NOKEY\" ist weder ein Tastenname (A, SPACE, UP, LSHIFT, ...) "
                      "noch ein Scancode wie 0x2A; es gilt die Voreinstellung RIGHT.");
  const SettingsFile codes = Parsed("[keys]\nup = 0x1d\nnet = KANJI\n");
  EXPECT_EQ(codes.values.keys.keys[KeyBindings::Up], 0x1D);
  EXPECT_NE(Words(codes)[0].find("net = \"KANJI\" ist ein Code, den keine Taste sendet"), std::string::npos);
  const SettingsFile clash = Parsed("[keys]\nup = P\nnet = 0x1D\n");  // P already pauses
  EXPECT_TRUE(clash.problems.size() == 1 && !clash.values.keys.Remapped());
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
  const std::string tail = "\n[mods]\nnote = ;starts with a semicolon\nlong = " + std::string(1000, 'z') + "\n";
  Write("tavi.ini", "; mine\n[display]\nwindow_width = 640 ; by hand\nwindow_height=480\nwindow_width = 700\n"
                    "  fullscreen = true\n[sound]\nmusic_volume = 30 ; loud\n" + tail);
  ErrorLog log(nullptr, "log.txt");
  const SettingsFile file = StartSettings("tavi.ini");
  ASSERT_TRUE(file.problems.empty());
  EXPECT_TRUE(file.values.windowWidth == 700 && file.values.windowHeight == 480 && file.values.musicVolume == 30);
  std::string edited = test::ReadFile("tavi.ini");  // by the player while the game runs
  Write("tavi.ini", edited.replace(edited.find("30 ;"), 2, "60") + "[keys]\nup = W\n");

  Settings atExit = file.values;
  atExit.windowWidth = 900;
  atExit.windowHeight = 600;
  atExit.fullscreen = false;
  atExit.muted = true;
  atExit.musicVolume = 10;  // no value of the game's: never written
  RememberSettings(file, atExit, log);
  EXPECT_EQ(test::ReadFile("tavi.ini"), "; mine\n[display]\nwindow_width = 640 ; by hand\nwindow_height=600\n"
                                        "window_width = 900\n  fullscreen = false\n[sound]\nmusic_volume = 60 ; loud\n"
                                        "muted = true\n" + tail + "[keys]\nup = W\n");
  EXPECT_EQ(test::ReadFile("log.txt"), "");

  const SettingsFile again = StartSettings("tavi.ini");
  EXPECT_TRUE(again.problems.empty() && again.values.windowWidth == 900 && again.values.muted);
  const ino_t inode = Inode("tavi.ini");
  RememberSettings(again, again.values, log);
  EXPECT_EQ(Inode("tavi.ini"), inode);  // nothing changed: not even replaced

  std::string text = "\xEF\xBB\xBF[a]\r\nx =  ; none yet\r\n";  // new lines follow the file's breaks
  SetIniValue(text, "a", "x", "1");
  SetIniValue(text, "a", "y", "2");
  SetIniValue(text, "b", "z", "3");
  EXPECT_EQ(text, "\xEF\xBB\xBF[a]\r\nx = 1  ; none yet\r\ny = 2\r\n\r\n[b]\r\nz = 3\r\n");
}

TEST(Settings, FilesThatAreNoSettingsAreNeitherReadNorReplaced) {
  test::TempDir dir;
  ErrorLog log(nullptr, "log.txt");
  Settings changed;
  changed.windowWidth = 640;
  // Neither read nor written, without waiting for a writer or a reader.
  ASSERT_EQ(::mkfifo("fifo.ini", 0600), 0);
  const SettingsFile fifo = StartSettings("fifo.ini");
  EXPECT_EQ(Words(fifo), std::vector<std::string>{"fifo.ini: keine gew\xF6hnliche Datei; es gelten die Voreinstellungen."});
  RememberSettings(fifo, changed, log);
  struct stat info {};
  EXPECT_TRUE(::stat("fifo.ini", &info) == 0 && S_ISFIFO(info.st_mode));

  const std::string good = "[display]\nwindow_width = 900\n";
  struct Case {
    const char* name;
    std::string start, atExit, report;
  };
  const Case cases[] = {
      {"large.ini", std::string(MaxSettingsBytes + 1, ';'), "", "large.ini: gr\xF6\xDF" "er als"},
      {"binary.ini", std::string("[a]\0", 4), "", "binary.ini: keine Textdatei"},
      {"broken.ini", good + "no setting\n", "", "broken.ini:3: keine Einstellung"},
      {"readonly.ini", good, "", ""},                  // left alone like a read-only list, even by root
      {"later.ini", good, "[display]\n[keys\n", ""},  // broken while the game ran
  };
  for (const Case& c : cases) {
    Write(c.name, c.start);
    if (c.name == std::string("readonly.ini")) ::chmod(c.name, 0444);
    const SettingsFile file = StartSettings(c.name);
    EXPECT_EQ(file.problems.empty() ? "" : file.problems[0].Words().substr(0, c.report.size()), c.report);
    if (!c.atExit.empty()) Write(c.name, c.atExit);
    const std::string before = test::ReadFile(c.name);
    RememberSettings(file, changed, log);
    EXPECT_EQ(test::ReadFile(c.name), before) << c.name;
  }
  const auto lines = test::ReadLines("log.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 58), "Die Einstellungen wurden nicht gespeichert: readonly.ini: ");
  EXPECT_EQ(lines[1], "Die Einstellungen wurden nicht gespeichert: later.ini:2: keine Einstellung; die Datei bleibt, "
                      "wie sie ist.");
}

class ExitPlatform : public test::FakePlatform {
 public:
  WindowSize WindowedSize() override { return size; }
  bool FullScreen() override { return fullScreen; }
  WindowSize size;
  bool fullScreen = false;
};

TEST(Settings, WhatTheGameRemembersIsReadBackAndTheCommandLineWins) {
  test::TempDir dir;
  ErrorLog log(nullptr, "log.txt");
  const SettingsFile file = StartSettings("tavi.ini");  // missing: made with the defaults
  EXPECT_EQ(test::ReadFile("tavi.ini"), DefaultSettingsText());
  Options windowOption;
  windowOption.window = true;
  windowOption.scaling = Scaling::SharpInteger;
  const PlatformOptions started = PlatformOptionsFor(windowOption, file.values);
  EXPECT_TRUE(started.window && started.scaling == Scaling::SharpInteger && started.windowSize.width == FrameWidth);
  ExitPlatform platform;
  platform.size = {200, 150};  // smaller than a window may be remembered
  platform.audio.muted = true;
  const Settings atExit = SettingsAtExit(file.values, started, platform);
  EXPECT_TRUE(atExit.fullscreen);  // --window is no choice to remember, Alt+Enter's is
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

}  // namespace
}  // namespace tavi
