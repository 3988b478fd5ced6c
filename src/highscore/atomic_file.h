#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace tavi {

// The file a write to `path` really lands in: the end of its chain of symbolic links (relative
// ones taken from the link's folder), or `path` itself when it is no link or does not exist.
// Returns false with a reason for a chain of more than 40 links or a link that cannot be read.
bool ResolveLinks(const std::string& path, std::string& target, std::string& error);

// Why an existing file with status `info` must be left as it is by a player with effective user
// id `user`: it belongs to someone else, or its owner made it read-only. Empty when it may be
// replaced. Checks the bits themselves, so that even root keeps off a read-only file.
std::string WhyNotReplaceable(const struct stat& info, uid_t user);

// Replaces the file at `path` with `size` bytes such that, whatever happens meanwhile (a kill, a
// power cut, a full disk), the file holds either its old contents or the new ones, never a mix.
// A symbolic link stays a link and its target is replaced; the file keeps its mode (and group,
// where allowed); a file WhyNotReplaceable refuses is left alone. The bytes go to a temporary file
// beside the target, which is flushed and then renamed over it; temporary files that killed
// processes left there are removed first (call it under a lock when several processes write).
// Returns false with a reason when the new contents could not be put in place; the old file is
// then untouched and no temporary file is left behind.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string& error);

}  // namespace tavi
