#include <sys/stat.h>

#include <SDL_filesystem.h>
#include <SDL_stdinc.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "base/cp1252.h"
#include "platform/platform.h"

namespace tavi {

namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

// The executable's directory with a trailing slash, or empty when SDL cannot tell.
const std::string& ExecutableDirectory() {
  static const std::string directory = [] {
    std::string result;
    if (char* base = SDL_GetBasePath()) {
      result = base;
      SDL_free(base);
    }
    return result;
  }();
  return directory;
}

}  // namespace

std::string ResolveMediaPath(const std::string& mediaName) {
  std::string relative = Cp1252ToUtf8(mediaName);
  for (char& c : relative) {
    if (c == '\\') {
      c = '/';
    }
  }
  if (relative.empty() || relative.front() == '/' || Exists(relative)) {
    return relative;
  }
  const std::string& exeDir = ExecutableDirectory();
  if (!exeDir.empty() && Exists(exeDir + relative)) {
    return exeDir + relative;
  }
  // An installation moved to another prefix than the configured one: <prefix>/bin/tavi finds
  // <prefix>/share/tavi/media.
  if (!exeDir.empty() && Exists(exeDir + "../share/tavi/" + relative)) {
    return exeDir + "../share/tavi/" + relative;
  }
#ifdef TAVI_DATADIR
  const std::string installed = std::string(TAVI_DATADIR) + "/" + relative;
  if (Exists(installed)) {
    return installed;
  }
#endif
  return relative;
}

bool MediaFileExists(const std::string& mediaName) {
  struct stat info;
  return ::stat(ResolveMediaPath(mediaName).c_str(), &info) == 0;
}

}  // namespace tavi
