#pragma once

#include <string>

namespace tavi {

// Converts Windows-1252 text (the game's texts and media names) to UTF-8.
std::string Cp1252ToUtf8(const std::string& text);
// Converts UTF-8 to Windows-1252; a character it lacks, or a broken sequence, becomes '?'.
std::string Utf8ToCp1252(const std::string& text);

}  // namespace tavi
