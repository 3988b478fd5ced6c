#include "highscore/list_check.h"

#include <cstdint>
#include <cstring>

#include "highscore/highscore_table.h"

namespace tavi {

ListCheck CheckListBytes(const unsigned char* bytes, std::size_t size) {
  constexpr int NameSize = HighscoreTable::NameFieldSize;
  constexpr int EntrySize = NameSize + 4;
  if (size != HighscoreTable::FileSize) return ListCheck::WrongSize;
  std::int64_t above = INT64_MAX;
  for (int k = 0; k < HighscoreTable::HighscoreCount; ++k) {
    const unsigned char* entry = bytes + k * EntrySize;
    for (int c = 0; c < NameSize && entry[c] != 0; ++c) {
      if (entry[c] < 0x20 || entry[c] == 0x7F) return ListCheck::BadName;
    }
    std::uint32_t score = 0;
    for (int b = 0; b < 4; ++b) score |= static_cast<std::uint32_t>(entry[NameSize + b]) << (8 * b);
    const std::int64_t value = static_cast<std::int32_t>(score);
    if (value > above) return ListCheck::ScoresOutOfOrder;
    above = value;
  }
  return ListCheck::Good;
}

}  // namespace tavi
