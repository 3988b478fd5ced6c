// The settings file: values and their reports, what survives a write-back, a broken file left
// alone, and the command line winning.
#include <gtest/gtest.h>

#include <fstream>

#include "app/options.h"
#include "app/settings.h"
#include "base/error_log.h"
#include "fake_platform.h"

namespace tavi {
namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(Settings, BadValuesAreReportedAndTheDefaultsUsed) {
  test::TempDir dir;
  Write("tavi.ini", "[display]\nfullscreen = no\nwindow_width = 800\nwindow_height = tall\nscaling = sharp\n"
                    "[sound]\nmusic_volume = 101\neffect_volume = 40\n");
  ErrorLog log(nullptr, "log.txt");
  const SettingsFile file = StartSettings("tavi.ini", log);
  const Settings& v = file.values;
  EXPECT_TRUE(!v.fullscreen && v.windowWidth == 800 && v.windowHeight == 768 && v.scaling == Scaling::Sharp &&
              v.musicVolume == 100 && v.effectVolume == 40);
  const auto lines = test::ReadLines("log.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "tavi.ini: [display] window_height = \"tall\" is not a number from 240 to 16384; "
                      "the default 768 is used");
  EXPECT_NE(lines[1].find("[sound] music_volume = \"101\""), std::string::npos);
}

TEST(Settings, WriteBackKeepsWhatTheGameDoesNotKnow) {
  test::TempDir dir;
  ErrorLog log(nullptr, "");
  StartSettings("tavi.ini", log);  // missing: written with the defaults
  EXPECT_EQ(test::ReadFile("tavi.ini"), SettingsText(SettingsFile{}));
  Write("tavi.ini", "top = 1\n" + test::ReadFile("tavi.ini") + "[keys]\njump = W\n[mods]\nx = y\n");
  SettingsFile file = StartSettings("tavi.ini", log);
  RememberWindowSize(file, {800, 600}, log);
  SettingsFile again = ReadSettings("tavi.ini");
  EXPECT_TRUE(again.problems.empty() && again.values.windowWidth == 800 && again.values.windowHeight == 600);
  std::vector<std::string> kept;
  for (const auto& entry : again.entries) {
    if (!entry.used) kept.push_back(entry.section + "." + entry.key + "=" + entry.value);
  }
  EXPECT_EQ(kept, (std::vector<std::string>{".top=1", "keys.jump=W", "mods.x=y"}));
}

TEST(Settings, AFileThatCannotBeParsedIsNeverWritten) {
  test::TempDir dir;
  const std::string broken = "[display]\nwindow_width = 900\nthis line is no setting\n";
  Write("tavi.ini", broken);
  ErrorLog log(nullptr, "");
  SettingsFile file = StartSettings("tavi.ini", log);
  EXPECT_EQ(file.values.windowWidth, 900);
  ASSERT_EQ(file.problems.size(), 1u);
  EXPECT_EQ(file.problems[0], "tavi.ini:3: not a setting; the file is left as it is");
  RememberWindowSize(file, {640, 480}, log);
  EXPECT_EQ(test::ReadFile("tavi.ini"), broken);
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

}  // namespace
}  // namespace tavi
