#include "app/settings_save.h"

#include <algorithm>

#include "app/ini_text.h"
#include "base/atomic_file.h"
#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/file_links.h"
#include "base/translate.h"
#include "highscore/file_lock.h"
#include "highscore/player_file_rule.h"

namespace tavi {

namespace {

constexpr const char* NotSavedText = ForCatalogue("Die Einstellungen wurden nicht gespeichert: {reason}");

}  // namespace

bool SaveSettings(const std::string& path, const std::vector<SettingChange>& changes, std::string& error) {
  std::string target;
  if (!ResolveLinks(path, target, error)) return false;
  // Beside the file the links lead to, so that every way to the same file takes the same lock.
  const FileLock lock{target + ".lock"};
  if (lock.Busy()) {
    error = FillIn(Translate("%s.lock: von einem anderen Spiel gesperrt"), {FileNameText(target)});
    return false;
  }
  std::string text;
  const SettingsFile now = ReadSettings(target, &text);
  if (now.state == SettingsFile::State::Missing) {
    text = DefaultSettingsText();
  } else if (now.state != SettingsFile::State::Read) {
    error = now.problems.front().Words();
    return false;
  }
  const std::string before = text;
  for (const SettingChange& change : changes) SetIniValue(text, change.section, change.key, change.value);
  if (text == before && now.state != SettingsFile::State::Missing) return true;
  return WriteFileAtomically(target, text.data(), text.size(), error, WhyNotThePlayersToReplace);
}

SettingsFile StartSettings(const std::string& path) {
  if (path.empty()) return {};
  SettingsFile file = ReadSettings(path);
  std::string error;
  if (file.state == SettingsFile::State::Missing && !SaveSettings(path, {}, error)) {
    file.problems.push_back({NotSavedText, {{"reason", error}}});
  }
  return file;
}

void ReportSettings(const SettingsFile& file, ErrorLog& log) {
  for (const SettingsProblem& problem : file.problems) log.LogError(problem.Words());
}

Settings SettingsAtExit(const Settings& read, const PlatformOptions& started, Platform& platform) {
  Settings atExit = read;
  const WindowSize size = platform.WindowedSize();
  atExit.windowWidth = std::clamp(size.width, MinWindowSize.width, MaxWindowSize.width);
  atExit.windowHeight = std::clamp(size.height, MinWindowSize.height, MaxWindowSize.height);
  // A window asked for on the command line is no choice to remember; a switch by Alt+Enter is.
  if (platform.FullScreen() == started.window) atExit.fullscreen = platform.FullScreen();
  atExit.muted = platform.Audio().Muted();
  return atExit;
}

bool RememberSettings(const SettingsFile& file, const Settings& atExit, ErrorLog& log) {
  // The player heard at the start why a file is left alone; a file broken since is reported below.
  if (file.state != SettingsFile::State::Read && file.state != SettingsFile::State::Missing) return false;
  const std::vector<SettingChange> changes = OwnedChanges(file.values, atExit);
  std::string error;
  if (!changes.empty() && !SaveSettings(file.path, changes, error)) {
    log.LogError(SettingsProblem{NotSavedText, {{"reason", error}}}.Words());
    return false;
  }
  return true;
}

}  // namespace tavi
