#include "app/language.h"

#include <cstdlib>
#include <vector>

#include "app/file_paths.h"
#include "base/error_log.h"
#include "base/translate.h"

namespace tavi {

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

void StartLanguage(const std::string& option, const std::string& setting, ErrorLog* log) {
  const Language language = ChooseLanguage(
      option, setting, {Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")});
  std::vector<std::string> folders;
  const std::string exe = ExecutableFolder();
  // The build tree and a moved installation, then where it was installed.
  if (!exe.empty()) folders = {exe + "/locale", exe + "/../share/locale"};
#ifdef TAVI_LOCALEDIR
  folders.push_back(TAVI_LOCALEDIR);
#endif
  std::vector<std::string> refused;
  const bool used = UseLanguage(language, folders, &refused);
  ErrorLog standardError(nullptr, "");
  if (!log) log = &standardError;
  for (const std::string& problem : refused) log->LogError(problem);
  if (!used) {
    const std::string& message = Translate("Kein Sprachkatalog f\xFCr %s; die Texte bleiben deutsch");  // für
    log->Note(FillIn(message, {LanguageCode(language)}));
  }
}

}  // namespace tavi
