#pragma once

#include <string>
#include <vector>

namespace tavi {

class ErrorLog;

// Where catalogues are looked for: locale/ beside the executable (the build tree, a game folder), a
// moved installation's share/locale, then the folder it was installed to.
std::vector<std::string> LocaleFolders();

// The languages whose catalogue is in the locale folders, and German: "de, en, fr".
std::string LanguagesOnOfferText();

// Chooses the language of texts and pictures from --lang (`option`), the settings file's
// [language] (`setting`) and the locale variables, among the languages whose catalogue is in the
// locale folders, and loads that catalogue. A language chosen by --lang or the setting without a
// usable catalogue plays in German, saying so (and which languages there are) on standard error;
// a catalogue that is there but refused is also reported to `log` (when given).
void StartLanguage(const std::string& option, const std::string& setting, ErrorLog* log = nullptr);

}  // namespace tavi
