#include "app/file_paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/media_manifest.h"
#include "base/translate.h"

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

// The game's own media/ in the working directory, every file of it; not just any folder of that
// name (/media), nor a folder that happens to hold a file of the same name.
bool WholeMediaHere() {
  std::vector<const char*> names = {media::WindowIcon.file, media::Music.file};
  for (const media::Picture* picture : media::Pictures) names.push_back(picture->file);
  for (const media::Sound* effect : media::Effects) names.push_back(effect->file);
  for (const char* name : names) {
    std::string path = Cp1252ToUtf8(name);
    for (char& c : path) c = c == '\\' ? '/' : c;
    if (!Exists(path)) return false;
  }
  return true;
}

bool SameFolder(const std::string& a, const std::string& b) {
  struct stat first, second;
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// Keeps `file` when its folder can be made; else says why on standard error and drops it.
// `sentence` names the file and what happens instead, with "%s" for the reason.
void Prepare(std::string& file, const char* sentence) {
  std::string error = Translate("HOME ist nicht gesetzt");
  if (!file.empty()) {
    const std::string folder = ParentOf(file);
    if (folder.empty() || MakeFolders(folder, error)) return;
  }
  WriteToStandardError("tavi: " + FillIn(Translate(sentence), {error}));
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
  if ((environment.wholeMediaHere || environment.portableMarkerHere) && !environment.installedDataHere) {
    if (environment.settingsInWorkingDirectory) paths.settingsFile = SettingsName;
    paths.portableFolder = environment.workingDirectory;
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

FileEnvironment CurrentFileEnvironment(const std::string& dataDir, const std::string& installedDataFolder) {
  FileEnvironment environment;
  environment.wholeMediaHere = WholeMediaHere();
  struct stat marker;
  environment.portableMarkerHere = ::stat(PortableMarkerName, &marker) == 0 && S_ISREG(marker.st_mode);
  // Also where an installation moved to another prefix keeps its media (<prefix>/share/tavi).
  const std::string exe = ExecutableFolder();
  environment.installedDataHere = (!installedDataFolder.empty() && SameFolder(".", installedDataFolder)) ||
                                  (!exe.empty() && SameFolder(".", exe + "/../share/tavi"));
  environment.settingsInWorkingDirectory = Exists(SettingsName);
  char cwd[PATH_MAX];
  environment.workingDirectory = ::getcwd(cwd, sizeof cwd) ? cwd : ".";
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
    error = FillIn(Translate("%s: kein Ordner"), {FileNameText(folder)});
    return false;
  }
  return true;
}

FilePaths PrepareFilePaths(const std::string& dataDir, bool settings, const std::string& installedDataFolder) {
  FilePaths paths = ChooseFilePaths(CurrentFileEnvironment(dataDir, installedDataFolder));
  if (!settings) paths.settingsFile.clear();
  Prepare(paths.highscoreFile,
          ForCatalogue("Kein Ordner f\xFCr die Highscore-Liste (%s); sie wird nur im Speicher gehalten."));  // für
  Prepare(paths.errorFile,
          ForCatalogue("Kein Ordner f\xFCr das Fehlerprotokoll (%s); Fehler gehen nur auf die Standardfehlerausgabe."));
  if (settings) {
    Prepare(paths.settingsFile, ForCatalogue("Kein Ordner f\xFCr die Einstellungen (%s); es gelten die Voreinstellungen."));
  }
  return paths;
}

void NoteFileLocations(const FilePaths& paths) {
  if (paths.portableFolder.empty()) return;
  const std::string folder = FileNameText(paths.portableFolder);
  WriteToStandardError(
      "tavi: " +
      FillIn(Translate("Tragbarer Spielordner: Highscore-Liste und Fehlerprotokoll werden in %s gespeichert"), {folder}));
}

std::string ExecutableFolder() {
  char path[4096];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  const std::string file(path, static_cast<std::size_t>(length));
  return file.substr(0, file.rfind('/'));
}

}  // namespace tavi
