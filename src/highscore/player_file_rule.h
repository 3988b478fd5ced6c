#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

namespace tavi {

// Why an existing list with status `info` must be left as it is by a player with effective user
// id `user`: it belongs to someone else, or its owner made it read-only. Empty when it may be
// replaced. Checks the bits themselves, so that even root keeps off a read-only file.
std::string WhyNotReplaceable(const struct stat& info, uid_t user);

// The same for the player running this process: the rule the list's saves are written under.
std::string WhyNotThePlayersToReplace(const struct stat& info);

}  // namespace tavi
