#include "app/language.h"

#include <unistd.h>

#include <cstdlib>

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

std::vector<std::string> LocaleFolders() {
  std::vector<std::string> folders;
  const std::string exe = ExecutableFolder();
  if (!exe.empty()) folders = {exe + "/locale", exe + "/../share/locale"};
#ifdef TAVI_LOCALEDIR
  folders.push_back(TAVI_LOCALEDIR);
#endif
  return folders;
}

std::string LanguagesOnOfferText() {
  std::string list;
  for (const std::string& language : LanguagesOnOffer(LocaleFolders())) list += (list.empty() ? "" : ", ") + language;
  return list;
}

void StartLanguage(const std::string& option, const std::string& setting, ErrorLog* log) {
  const std::vector<std::string> folders = LocaleFolders();
  const auto onOffer = [&](const std::string& language) {
    for (const std::string& folder : folders) {
      if (::access(CataloguePath(folder, language).c_str(), F_OK) == 0) return true;
    }
    return false;
  };
  const std::string language = ChooseLanguage(
      option, setting, {Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")}, onOffer);
  std::vector<std::string> refused;
  const bool used = UseLanguage(language, folders, &refused);
  ErrorLog standardError(nullptr, "");
  if (!log) log = &standardError;
  for (const std::string& problem : refused) log->LogError(problem);
  if (!used) {
    const std::string& message =
        Translate("Kein Sprachkatalog f\xFCr %s; die Texte bleiben deutsch. Sprachen zur Wahl: %s");  // für
    log->Note(FillIn(message, {language, LanguagesOnOfferText()}));
  }
}

}  // namespace tavi
