#include "app/language.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/file_paths.h"
#include "base/translate.h"

namespace tavi {

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

void StartLanguage(const std::string& option, const std::string& setting) {
  const Language language = ChooseLanguage(
      option, setting, {Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")});
  std::vector<std::string> folders;
  const std::string exe = ExecutableFolder();
  // The build tree and a moved installation, then where it was installed.
  if (!exe.empty()) folders = {exe + "/locale", exe + "/../share/locale"};
#ifdef TAVI_LOCALEDIR
  folders.push_back(TAVI_LOCALEDIR);
#endif
  if (!UseLanguage(language, folders)) {
    std::fprintf(stderr, "tavi: no catalogue for the language %s; the texts stay German\n",
                 LanguageCode(language));
  }
}

}  // namespace tavi
