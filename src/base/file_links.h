#pragma once

#include <string>

namespace tavi {

// The file a write to `path` really lands in: the end of its chain of symbolic links (relative
// ones taken from the link's folder), or `path` itself when it is no link or does not exist.
// Links are followed as the kernel's protected-links rule follows them: a link in a folder that
// everyone may write to and that has the sticky bit (/tmp, a shared game folder) only when it
// belongs to the player or to the folder's owner, since anyone may have planted it there. Returns
// false with a reason (Windows-1252) for a link of someone else there, a chain of more than 40
// links or a link that cannot be read.
bool ResolveLinks(const std::string& path, std::string& target, std::string& error);

// Opens `path` with `flags` (mode 0666 when it creates) through ResolveLinks: the end of the chain
// is opened with O_NOFOLLOW, so a link planted under that name meanwhile is not followed either.
// -1 with a reason when it cannot be opened.
int OpenThroughLinks(const std::string& path, int flags, std::string& error);

}  // namespace tavi
