#include "highscore/player_file_rule.h"

#include <unistd.h>

#include "base/translate.h"

namespace tavi {

std::string WhyNotReplaceable(const struct stat& info, uid_t user) {
  // "gehört einem anderen Benutzer, bleibt unverändert"
  if (info.st_uid != user) return Translate("geh\xF6rt einem anderen Benutzer, bleibt unver\xE4ndert");
  if ((info.st_mode & S_IWUSR) == 0) return Translate("schreibgesch\xFCtzt, bleibt unver\xE4ndert");  // schreibgeschützt
  return {};
}

std::string WhyNotThePlayersToReplace(const struct stat& info) { return WhyNotReplaceable(info, ::geteuid()); }

}  // namespace tavi
