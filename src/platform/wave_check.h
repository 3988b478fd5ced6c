#pragma once

#include <cstddef>
#include <cstdint>

namespace tavi {

// The largest effect file read: 4 MiB play for 20 seconds or more; the game's own are under 100 KiB.
constexpr std::size_t MaxEffectBytes = 4 * 1024 * 1024;

// True for a RIFF wave whose chunks all lie inside the file, with exactly one format chunk, of 1
// to 8 channels at 8 to 192 kHz. SDL allocates what a chunk's length claims, and SDL_mixer
// converts an effect to the device's 44.1 kHz stereo as it loads it, into one buffer as large as
// the conversion can grow: a few kilobytes claiming 1 Hz, or a data chunk of 4 GB, ask for
// gigabytes. Files of other kinds never reach SDL_mixer's other loaders either (its AIFF loader
// leaks on broken files).
bool PlausibleWave(const std::uint8_t* data, std::size_t size);

}  // namespace tavi
