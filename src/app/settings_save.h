#pragma once

#include <string>
#include <vector>

#include "app/settings.h"

namespace tavi {

class ErrorLog;

// Makes `changes` in the file at `path` in place, read afresh under the lock the highscore list
// takes and replaced in one step: every other byte of the player's file stays. A missing file is
// first made from the defaults. A file that cannot be read or holds a line that is no setting is
// left alone, as is one of another user or one made read-only. False with the reason.
bool SaveSettings(const std::string& path, const std::vector<SettingChange>& changes, std::string& error);

// Reads the file at `path` (none when empty) and makes it with the defaults when it is missing.
SettingsFile StartSettings(const std::string& path);
// Reports what is wrong with the file, once the language is chosen (the file may choose it).
void ReportSettings(const SettingsFile& file, ErrorLog& log);

// The values the game owns as the player left them: the window's size (unless the game only fitted
// it to the display), full screen or not when Alt+Enter changed it, and the mute.
Settings SettingsAtExit(const Settings& read, const PlatformOptions& started, Platform& platform);
// Saves the values the game owns that differ from those read at the start, unless the file could
// not be read or parsed then. True when the file holds them now.
bool RememberSettings(const SettingsFile& file, const Settings& atExit, ErrorLog& log);

}  // namespace tavi
