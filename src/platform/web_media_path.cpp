#include <sys/stat.h>

#include <string>

#include "base/cp1252.h"
#include "platform/platform.h"

namespace tavi {

// The page's media are preloaded into the virtual file system at /media.
std::string ResolveMediaPath(const std::string& mediaName) {
  std::string path = Cp1252ToUtf8(mediaName);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return "/" + path;
}

bool MediaFileExists(const std::string& mediaName) {
  struct stat info {};
  return stat(ResolveMediaPath(mediaName).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace tavi
