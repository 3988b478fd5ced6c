#include "platform/wave_check.h"

#include <cstring>

namespace tavi {

namespace {

constexpr std::uint32_t MinRate = 8000;
constexpr std::uint32_t MaxRate = 192000;
constexpr std::uint32_t MaxChannels = 8;

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | static_cast<std::uint32_t>(p[1]) << 8; }

std::uint32_t Le32(const std::uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

}  // namespace

bool PlausibleWave(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    return false;
  }
  int formats = 0;
  bool plausible = false;
  // The chunks as SDL walks them; a second format chunk could stand for either, so none is taken.
  for (std::size_t at = 12; size - at >= 8;) {
    const std::uint32_t length = Le32(data + at + 4);
    if (std::memcmp(data + at, "fmt ", 4) == 0) {
      ++formats;
      if (length < 16 || size - at - 8 < 16) return false;
      const std::uint32_t channels = Le16(data + at + 10);
      const std::uint32_t rate = Le32(data + at + 12);
      plausible = channels >= 1 && channels <= MaxChannels && rate >= MinRate && rate <= MaxRate;
    }
    // SDL takes a chunk's length at its word and allocates it: a chunk must lie inside the file
    // (its pad byte after an odd length may be missing at the very end).
    if (length > size - at - 8) return false;
    at += 8 + static_cast<std::size_t>(length) + (length & 1);
    if (at > size) at = size;
  }
  return formats == 1 && plausible;
}

}  // namespace tavi
