#include "base/cp1252.h"
#include "platform/console_message.h"

#include <cstdio>

#include "platform/platform.h"

namespace tavi {

void WriteMessageToConsole(const std::string& caption, const std::string& text) {
  const std::string line = Cp1252ToUtf8(caption) + ": " + Cp1252ToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace tavi
