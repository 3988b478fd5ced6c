#include "base/error_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "base/cp1252.h"
#include "base/file_links.h"
#include "base/message_sink.h"

namespace tavi {

namespace {

// Appends `line` to the file when it is a regular file. O_NONBLOCK keeps a FIFO under that name
// from holding the game until someone reads it; anything but a regular file is left alone, and so
// is a link another user planted in a shared folder (`error` says why).
void AppendToRegularFile(const std::string& fileName, const std::string& line, std::string& error) {
  const int fd = OpenThroughLinks(fileName, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK, error);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    for (std::size_t done = 0; done < line.size();) {
      const ssize_t wrote = ::write(fd, line.data() + done, line.size() - done);
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) break;
      done += static_cast<std::size_t>(wrote);
    }
  }
  ::close(fd);
}

}  // namespace

void WriteToStandardError(const std::string& message) {
  std::fprintf(stderr, "%s\n", Cp1252ToUtf8(message).c_str());
}

ErrorLog::ErrorLog(MessageSink* messages, std::string fileName, bool utf8File)
    : messages_(messages), fileName_(std::move(fileName)), utf8File_(utf8File) {}

bool ErrorLog::ShowError(const std::string& message) {
  WriteToStandardError(message);
  if (messages_) messages_->ShowMessage("Error", message);
  return false;
}

void ErrorLog::LogError(const std::string& message) {
  // Every line also goes to standard error, so nothing is lost when the file cannot be written.
  Note(message);
  if (fileName_.empty()) return;
  std::string error;
  AppendToRegularFile(fileName_, (utf8File_ ? Cp1252ToUtf8(message) : message) + "\n", error);
  // Why the file is not written, once: the lines themselves are on standard error.
  if (!error.empty() && !openFailureSaid_) {
    WriteToStandardError("tavi: " + error);
    openFailureSaid_ = true;
  }
}

void ErrorLog::Note(const std::string& message) { WriteToStandardError(message); }

}  // namespace tavi
