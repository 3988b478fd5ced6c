#pragma once

#include <string>

namespace mediagen {

// Writes the background music as a standard MIDI file into outDir from the score in artDir.
bool MakeMusic(const std::string& artDir, const std::string& outDir, std::string& error);

}  // namespace mediagen
