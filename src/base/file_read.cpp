#include "base/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "base/cp1252.h"
#include "base/translate.h"

namespace tavi {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

std::string TooLarge(const std::string& name, std::size_t maxBytes) {
  constexpr std::size_t MiB = 1024 * 1024;
  if (maxBytes >= MiB && maxBytes % MiB == 0) {
    return FillIn(Translate("%s: gr\xF6\xDF" "er als %s MiB"), {name, std::to_string(maxBytes / MiB)});  // größer
  }
  return FillIn(Translate("%s: gr\xF6\xDF" "er als %s Bytes"), {name, std::to_string(maxBytes)});  // größer
}

}  // namespace

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                     std::string& error, const std::string& name) {
  const std::string shown = name.empty() ? FileNameText(path) : name;
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer, for ever.
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) {
    error = shown + ": " + std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) {
    error = shown + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = FillIn(Translate("%s: keine gew\xF6hnliche Datei"), {shown});  // gewöhnliche
    return false;
  }
  // The size fstat gives is only a hint: the file may grow while it is read, so the limit is
  // checked on what is actually read, one byte past it telling "too large".
  if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
    error = TooLarge(shown, maxBytes);
    return false;
  }
  std::string read(static_cast<std::size_t>(info.st_size) + 1, '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == read.size()) {
      if (read.size() > maxBytes) break;
      read.resize(std::min(maxBytes + 1, read.size() * 2 + 4096));
    }
    const ssize_t got = ::read(file.Get(), &read[used], read.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = shown + ": " + std::strerror(errno);
      return false;
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  if (used > maxBytes) {
    error = TooLarge(shown, maxBytes);
    return false;
  }
  read.resize(used);
  bytes = std::move(read);
  return true;
}

}  // namespace tavi
