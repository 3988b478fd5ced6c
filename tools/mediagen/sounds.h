#pragma once

#include <string>

namespace mediagen {

// Synthesises the five effects as 44.1 kHz 16-bit mono WAV files into outDir.
bool MakeSounds(const std::string& artDir, const std::string& outDir, std::string& error);

}  // namespace mediagen
