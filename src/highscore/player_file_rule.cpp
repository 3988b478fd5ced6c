#include "highscore/player_file_rule.h"

#include <unistd.h>

namespace tavi {

std::string WhyNotReplaceable(const struct stat& info, uid_t user) {
  if (info.st_uid != user) return "geh\xF6rt einem anderen Benutzer, bleibt unver\xE4ndert";  // gehört, unverändert
  if ((info.st_mode & S_IWUSR) == 0) return "schreibgesch\xFCtzt, bleibt unver\xE4ndert";  // schreibgeschützt
  return {};
}

std::string WhyNotThePlayersToReplace(const struct stat& info) { return WhyNotReplaceable(info, ::geteuid()); }

}  // namespace tavi
