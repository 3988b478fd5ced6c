#pragma once

#include <cstddef>

namespace tavi {

// Whether bytes handed in as a highscore list (an import in the browser) are one the game wrote:
// the list's 160 bytes, the scores from the best down, and names without control characters up to
// their terminator (the bytes after it are whatever the field held before, as the game keeps them).
enum class ListCheck { Good, WrongSize, ScoresOutOfOrder, BadName };

ListCheck CheckListBytes(const unsigned char* bytes, std::size_t size);

}  // namespace tavi
