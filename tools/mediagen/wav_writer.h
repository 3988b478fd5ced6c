#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mediagen {

// The bytes of a RIFF WAVE file of 16-bit mono PCM.
std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate);

// Writes bytes to a file; false (and "path: reason") on any failure.
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes,
                std::string& error);

}  // namespace mediagen
