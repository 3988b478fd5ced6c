#include "base/error_log.h"

#include <cstdio>
#include <utility>

#include "base/cp1252.h"
#include "base/message_sink.h"

namespace tavi {

ErrorLog::ErrorLog(MessageSink* messages, std::string fileName, bool utf8File)
    : messages_(messages), fileName_(std::move(fileName)), utf8File_(utf8File) {}

bool ErrorLog::ShowError(const std::string& message) {
  std::fprintf(stderr, "%s\n", Cp1252ToUtf8(message).c_str());
  if (messages_) messages_->ShowMessage("Error", message);
  return false;
}

void ErrorLog::LogError(const std::string& message) {
  // Every line also goes to standard error, so nothing is lost when the file cannot be written.
  Note(message);
  if (fileName_.empty()) return;
  if (std::FILE* file = std::fopen(fileName_.c_str(), "a")) {
    std::fprintf(file, "%s\n", (utf8File_ ? Cp1252ToUtf8(message) : message).c_str());
    std::fclose(file);
  }
}

void ErrorLog::Note(const std::string& message) {
  std::fprintf(stderr, "%s\n", Cp1252ToUtf8(message).c_str());
}

}  // namespace tavi
