#include "base/file_links.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/cp1252.h"
#include "base/translate.h"

namespace tavi {

namespace {

constexpr int MaxLinks = 40;  // as the kernel's own limit for a path

std::string Reason(const std::string& path) { return FileNameText(path) + ": " + std::strerror(errno); }

// The kernel's rule for following the link `link` (its status `info`) of a path.
bool MayFollow(const std::string& link, const struct stat& info) {
  const std::size_t slash = link.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : link.substr(0, slash);
  struct stat folderInfo;
  if (::stat(folder.c_str(), &folderInfo) != 0) return false;
  const bool shared = (folderInfo.st_mode & S_ISVTX) != 0 && (folderInfo.st_mode & S_IWOTH) != 0;
  return !shared || info.st_uid == ::geteuid() || info.st_uid == folderInfo.st_uid;
}

}  // namespace

bool ResolveLinks(const std::string& path, std::string& target, std::string& error) {
  target = path;
  for (int links = 0;; ++links) {
    struct stat info;
    // Missing or no link (or not reachable: the write then says why): the write goes here.
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
    if (!MayFollow(target, info)) {
      // "Verknüpfung eines anderen Benutzers in einem für alle beschreibbaren Ordner, wird nicht verfolgt"
      error = FillIn(Translate("%s: Verkn\xFCpfung eines anderen Benutzers in einem f\xFCr alle beschreibbaren "
                               "Ordner, wird nicht verfolgt"),
                     {FileNameText(target)});
      return false;
    }
    char buffer[4096];
    const ssize_t length = ::readlink(target.c_str(), buffer, sizeof buffer);
    if (length < 0 || length == static_cast<ssize_t>(sizeof buffer) || links == MaxLinks) {
      if (length >= 0) errno = length == static_cast<ssize_t>(sizeof buffer) ? ENAMETOOLONG : ELOOP;
      error = Reason(target);
      return false;
    }
    const std::string link(buffer, static_cast<std::size_t>(length));
    const std::size_t slash = target.rfind('/');
    target = link[0] == '/' || slash == std::string::npos ? link : target.substr(0, slash + 1) + link;
  }
}

int OpenThroughLinks(const std::string& path, int flags, std::string& error) {
  std::string target;
  if (!ResolveLinks(path, target, error)) return -1;
  const int fd = ::open(target.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) error = Reason(target);
  return fd;
}

}  // namespace tavi
