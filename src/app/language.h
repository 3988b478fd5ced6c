#pragma once

#include <string>

namespace tavi {

class ErrorLog;

// Chooses the language of texts and pictures from --lang (`option`), the settings file's
// [language] (`setting`) and the locale variables, and loads its catalogue from the build tree's
// or the installed locale folder. English without a usable catalogue plays in German, saying so on
// standard error; a catalogue that is there but refused is also reported to `log` (when given).
void StartLanguage(const std::string& option, const std::string& setting, ErrorLog* log = nullptr);

}  // namespace tavi
