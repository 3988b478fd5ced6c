#pragma once

#include <string>

namespace tavi {

// Converts Windows-1252 text (the game's texts and media names) to UTF-8.
std::string Cp1252ToUtf8(const std::string& text);

}  // namespace tavi
