#include "base/error_log.h"

#include <cstdio>
#include <utility>

#include "base/cp1252.h"
#include "base/message_sink.h"

namespace tavi {

ErrorLog::ErrorLog(MessageSink* messages, std::string fileName)
    : messages_(messages), fileName_(std::move(fileName)) {}

bool ErrorLog::ShowError(const std::string& message) {
  std::fprintf(stderr, "%s\n", Cp1252ToUtf8(message).c_str());
  if (messages_) messages_->ShowMessage("Error", message);
  return false;
}

void ErrorLog::LogError(const std::string& message) {
  // Every line also goes to standard error, so nothing is lost when the file cannot be written.
  std::fprintf(stderr, "%s\n", Cp1252ToUtf8(message).c_str());
  if (std::FILE* file = std::fopen(fileName_.c_str(), "a")) {
    std::fprintf(file, "%s\n", message.c_str());
    std::fclose(file);
  }
}

}  // namespace tavi
