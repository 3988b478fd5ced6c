#pragma once

#include <string>

namespace tavi {

// Writes a message as "caption: text" on standard error, converted to UTF-8: the message box
// where there is no display.
void WriteMessageToConsole(const std::string& caption, const std::string& text);

}  // namespace tavi
