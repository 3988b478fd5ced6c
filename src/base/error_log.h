#pragma once

#include <string>

namespace tavi {

class MessageSink;

// One line of Windows-1252 text on standard error, in UTF-8: the way every report reaches it.
void WriteToStandardError(const std::string& message);

// The two ways of reporting a failure. Neither stops anything; the caller decides.
class ErrorLog {
 public:
  // `messages` shows ShowError's box (none: standard error only); `fileName` is where LogError
  // appends ("Error.txt" in the working directory; empty: no file), in Windows-1252 as the texts
  // are, or in UTF-8 with `utf8File`.
  explicit ErrorLog(MessageSink* messages, std::string fileName = "Error.txt", bool utf8File = false);

  // Standard error and a modal box captioned "Error". Returns false for callers to pass on.
  bool ShowError(const std::string& message);
  // Appends one line to the error file (and to standard error). When the file cannot be opened
  // (said once, with why) or is no regular file (a FIFO, a device), the line still reaches
  // standard error and the program goes on. Links are followed as ResolveLinks allows.
  void LogError(const std::string& message);
  // Standard error only: what the player chose is no failure to keep.
  void Note(const std::string& message);

  const std::string& FileName() const { return fileName_; }

 private:
  MessageSink* messages_;
  std::string fileName_;
  bool utf8File_;
  bool openFailureSaid_ = false;
};

}  // namespace tavi
