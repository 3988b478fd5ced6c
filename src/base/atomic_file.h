#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>

namespace tavi {

// A caller's own rule for an existing file with status `info`: why it must be left as it is,
// empty when it may be replaced.
using ReplaceRule = std::string (*)(const struct stat& info);

// Replaces the file at `path` with `size` bytes such that, whatever happens meanwhile (a kill, a
// power cut, a full disk), the file holds either its old contents or the new ones, never a mix.
// A symbolic link stays a link and its target is replaced (followed as ResolveLinks allows); the
// file keeps its mode (and group, where allowed). An existing target that is no regular file (a
// device, a pipe, a folder), that cannot be written, or that `rule` refuses is left alone. The
// bytes go to a temporary file made afresh (O_EXCL) beside the target, which is flushed and then
// renamed over it; temporary files that killed processes left there are removed first (call it
// under a lock when several processes write). Returns false with a reason (Windows-1252) when the
// new contents could not be put in place; the old file is then untouched and no temporary file is
// left behind.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string& error, ReplaceRule rule = nullptr);

}  // namespace tavi
