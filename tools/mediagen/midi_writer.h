#pragma once

#include <cstdint>
#include <vector>

#include "score.h"

namespace mediagen {

// A type 1 standard MIDI file: a tempo track, then one track per score track that sets program,
// volume, pan, expression (and reverb, chorus) at tick 0. Every note-off at the same tick comes
// before any note-on, and every track ends exactly at the loop's length, so the file loops
// seamlessly.
std::vector<std::uint8_t> EncodeMidi(const Score& score);

}  // namespace mediagen
