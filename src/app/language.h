#pragma once

#include <string>

namespace tavi {

// Chooses the language of texts and pictures from --lang (`option`), the settings file's
// [language] (`setting`) and the locale variables, and loads its catalogue from the build tree's
// or the installed locale folder. English without a catalogue plays in German, saying so.
void StartLanguage(const std::string& option, const std::string& setting);

}  // namespace tavi
