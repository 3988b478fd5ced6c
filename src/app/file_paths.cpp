#include "app/file_paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/media_manifest.h"

namespace tavi {

namespace {

const char* const SettingsName = "tavi.ini";

// An XDG base folder: the variable when it holds an absolute path (others are to be ignored),
// else HOME plus the default; empty when neither is known.
std::string BaseFolder(const std::string& variable, const std::string& home, const char* fallback) {
  if (!variable.empty() && variable.front() == '/') return variable;
  if (home.empty()) return {};
  return home + (home.back() == '/' ? "" : "/") + fallback;
}

std::string InFolder(const std::string& folder, const char* name) {
  if (folder.empty()) return {};
  return folder + (folder.back() == '/' ? "" : "/") + name;
}

std::string ParentOf(const std::string& file) {
  const auto slash = file.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : file.substr(0, slash);
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

// The game's own media/ in the working directory; not just any folder of that name (/media).
bool GameMediaHere() {
  for (const media::Picture* picture : media::Pictures) {
    std::string path = picture->file;
    for (char& c : path) c = c == '\\' ? '/' : c;
    if (Exists(path)) return true;
  }
  return false;
}

// Keeps `file` when its folder can be made; else says why on standard error and drops it.
void Prepare(std::string& file, const char* what, const char* instead) {
  std::string error = "HOME is not set";
  if (!file.empty()) {
    const std::string folder = ParentOf(file);
    if (folder.empty() || MakeFolders(folder, error)) return;
  }
  WriteToStandardError(std::string("tavi: no folder for the ") + what + " (" + error + "); " + instead);
  file.clear();
}

}  // namespace

FilePaths ChooseFilePaths(const FileEnvironment& environment) {
  FilePaths paths;
  if (!environment.dataDir.empty()) {
    paths.highscoreFile = InFolder(environment.dataDir, "Highscore.dat");
    paths.errorFile = InFolder(environment.dataDir, "Error.txt");
    paths.settingsFile = InFolder(environment.dataDir, SettingsName);
    return paths;
  }
  const std::string config =
      InFolder(BaseFolder(environment.xdgConfigHome, environment.home, ".config"), "tavi");
  paths.settingsFile = InFolder(config, SettingsName);
  if (environment.mediaInWorkingDirectory) {
    if (environment.settingsInWorkingDirectory) paths.settingsFile = SettingsName;
    return paths;
  }
  paths.highscoreFile = InFolder(
      InFolder(BaseFolder(environment.xdgDataHome, environment.home, ".local/share"), "tavi"),
      "Highscore.dat");
  paths.errorFile = InFolder(
      InFolder(BaseFolder(environment.xdgStateHome, environment.home, ".local/state"), "tavi"),
      "error.log");
  paths.errorFileUtf8 = true;
  return paths;
}

FileEnvironment CurrentFileEnvironment(const std::string& dataDir) {
  FileEnvironment environment;
  environment.mediaInWorkingDirectory = GameMediaHere();
  environment.settingsInWorkingDirectory = Exists(SettingsName);
  environment.dataDir = dataDir;
  environment.home = Variable("HOME");
  if (environment.home.empty()) {
    if (const passwd* user = ::getpwuid(::getuid())) environment.home = user->pw_dir ? user->pw_dir : "";
  }
  environment.xdgDataHome = Variable("XDG_DATA_HOME");
  environment.xdgStateHome = Variable("XDG_STATE_HOME");
  environment.xdgConfigHome = Variable("XDG_CONFIG_HOME");
  return environment;
}

bool MakeFolders(const std::string& folder, std::string& error) {
  // Each level from the top down, so that every missing one gets the private mode.
  for (std::size_t end = 1; end <= folder.size(); ++end) {
    if (end != folder.size() && folder[end] != '/') continue;
    const std::string level = folder.substr(0, end);
    if (::mkdir(level.c_str(), 0700) == 0 || errno == EEXIST) continue;
    error = FileNameText(level) + ": " + std::strerror(errno);
    return false;
  }
  struct stat info;
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    error = FileNameText(folder) + ": not a folder";
    return false;
  }
  return true;
}

FilePaths PrepareFilePaths(const std::string& dataDir, bool settings) {
  FilePaths paths = ChooseFilePaths(CurrentFileEnvironment(dataDir));
  if (!settings) paths.settingsFile.clear();
  Prepare(paths.highscoreFile, "highscore list", "it is kept in memory only");
  Prepare(paths.errorFile, "error log", "errors go to standard error only");
  if (settings) Prepare(paths.settingsFile, "settings", "the defaults are used");
  return paths;
}

}  // namespace tavi
