#pragma once

// The page's settings panel: the page keeps the text of tavi.ini in the browser's storage and puts
// it at WebSettingsPath before the game starts; the game reads it as the desktop reads its file.

#include "app/settings.h"

namespace tavi {

class ProgramRun;

inline constexpr const char* WebSettingsPath = "tavi.ini";  // in the working directory, "/"

// The settings file as read at the start (missing: the defaults).
SettingsFile ReadWebSettings();

// From now on the panel's changes go to `platform` and `run` (both outlive the page's game); the
// values read at the start are applied and told to the page.
void AttachWebSettings(const SettingsFile& file, Platform& platform, ProgramRun& run);

// F9's mute, written into the file when it has changed, as the desktop writes it at exit: a page
// has no exit. Called after each animation frame's steps.
void RememberWebMute();

}  // namespace tavi
