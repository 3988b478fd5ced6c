#include "base/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/cp1252.h"
#include "base/file_links.h"
#include "base/translate.h"

namespace tavi {

namespace {

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Reason(const std::string& path) { return FileNameText(path) + ": " + std::strerror(errno); }

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Removes "<target>.tmp-<pid>" files of processes that no longer exist: a kill during a save
// leaves them. One of a live process (EPERM counts as alive) may be a save in progress.
void RemoveStaleTemporaries(const std::string& target) {
  DIR* dir = ::opendir(DirectoryOf(target).c_str());
  if (dir == nullptr) return;
  const std::string prefix = BaseNameOf(target) + ".tmp-";
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
      continue;
    const pid_t pid = static_cast<pid_t>(std::atol(digits.c_str()));
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(pid, 0) != 0 && errno == ESRCH) ::unlinkat(::dirfd(dir), name.c_str(), 0);
  }
  ::closedir(dir);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string& error, ReplaceRule rule) {
  std::string target;
  if (!ResolveLinks(path, target, error)) return false;
  struct stat old;
  const bool replacing = ::lstat(target.c_str(), &old) == 0;
  if (replacing) {
    // Renaming over a device or a pipe would put a plain file in its place.
    std::string why;
    if (!S_ISREG(old.st_mode)) {
      why = Translate("keine gew\xF6hnliche Datei, bleibt unver\xE4ndert");  // gewöhnliche, unverändert
    } else if (rule) {
      why = rule(old);
    }
    if (!why.empty()) {
      error = FileNameText(target) + ": " + why;
      return false;
    }
    // A file we may not write is not replaced either; this also catches what the mode bits do
    // not show: a read-only file system, an immutable file.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
      error = Reason(target);
      return false;
    }
  }
  RemoveStaleTemporaries(target);

  // One temporary name per process, so two running games never write into each other's file.
  const std::string temporary = target + ".tmp-" + std::to_string(::getpid());
  // A leftover from a killed earlier run with the same id goes first; O_EXCL then refuses to
  // follow anything planted under that name in the meantime.
  ::unlink(temporary.c_str());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = Reason(temporary);
    return false;
  }
  bool ok = true;
  if (replacing) {
    // A group shared with other players stays where we may set it; the mode always stays.
    [[maybe_unused]] const int groupKept = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  }
  ok = ok && WriteAll(fd, static_cast<const unsigned char*>(data), size) && ::fsync(fd) == 0;
  if (!ok) error = Reason(temporary);
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = Reason(temporary);
  }
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    error = Reason(target);
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  // Make the rename itself durable. The new contents are already in place, so a directory that
  // cannot be synced (some file systems refuse) is no failure of the write.
  const int dir = ::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace tavi
