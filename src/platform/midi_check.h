#pragma once

#include <cstddef>
#include <cstdint>

namespace tavi {

// True for a standard MIDI file the synthesiser can repeat without end: a well-formed header,
// exactly the announced tracks, every event complete inside its track, and at least one event
// after the first tick. FluidSynth reads a file only when it starts playing, and one it cannot
// read, or one that is over at its first tick, is retried endlessly inside the audio thread when
// set to repeat, which freezes the game. The check is stricter than FluidSynth, never looser.
bool PlayableMidi(const std::uint8_t* data, std::size_t size);

}  // namespace tavi
