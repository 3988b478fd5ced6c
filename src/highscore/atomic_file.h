#pragma once

#include <cstddef>
#include <string>

namespace tavi {

// Replaces the file at `path` with `size` bytes such that, whatever happens meanwhile (a kill, a
// power cut, a full disk), the file holds either its old contents or the new ones, never a mix.
// The bytes go to a temporary file beside it, which is flushed and then renamed over `path`.
// Returns false with a reason when the new contents could not be put in place; the old file is
// then untouched and no temporary file is left behind.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string& error);

}  // namespace tavi
