#pragma once

#include <string>

namespace tavi {

// The file whose presence in the working directory makes it a portable game folder even without
// the game's whole media set there (its contents do not matter).
inline constexpr const char* PortableMarkerName = "portable.txt";

// Where the program keeps what it writes. An empty name means nowhere: the highscore list then
// stays in memory, the error lines go to standard error only, no settings are read or written.
struct FilePaths {
  std::string highscoreFile = "Highscore.dat";
  std::string errorFile = "Error.txt";
  bool errorFileUtf8 = false;  // the per-user log is UTF-8; the portable Error.txt stays Windows-1252
  std::string settingsFile;
  std::string portableFolder;  // the working directory when it is taken as a portable game folder
};

// What the choice depends on, gathered by the caller.
struct FileEnvironment {
  bool wholeMediaHere = false;              // every media file of the game in media/ there
  bool portableMarkerHere = false;          // PortableMarkerName there
  bool installedDataHere = false;           // it is the installed game's data folder
  bool settingsInWorkingDirectory = false;  // tavi.ini already there
  std::string workingDirectory;
  std::string dataDir;                      // --data-dir
  std::string home;
  std::string xdgDataHome;
  std::string xdgStateHome;
  std::string xdgConfigHome;
};

// The working directory is a portable game folder when it holds the game's whole media set or the
// portable marker, unless it is the installed data folder (which a game run as root would write
// into). The portable folder keeps Highscore.dat and Error.txt in the working directory, and
// tavi.ini only when it is already there (else in the per-user config folder, so that a game
// folder unpacked from an archive stays as it came). --data-dir is a portable folder elsewhere:
// all three files in it. Otherwise the per-user XDG folders. No file system access.
FilePaths ChooseFilePaths(const FileEnvironment& environment);

// Reads the working directory and the environment for ChooseFilePaths; `installedDataFolder` is
// where the installed game keeps its media (empty: none).
FileEnvironment CurrentFileEnvironment(const std::string& dataDir, const std::string& installedDataFolder);

// Makes `folder` and each missing folder above it (mode 0700); false with a reason (Windows-1252).
bool MakeFolders(const std::string& folder, std::string& error);

// ChooseFilePaths for this process, with the folders made; a file whose folder cannot be made is
// dropped (said on standard error). Without `settings` there is no settings file.
FilePaths PrepareFilePaths(const std::string& dataDir, bool settings, const std::string& installedDataFolder);

// The executable's folder, or empty when the system cannot tell.
std::string ExecutableFolder();

// Says on standard error where the files go when it is not where an installed game keeps them
// (a portable game folder); --data-dir was the player's own choice and is not repeated.
void NoteFileLocations(const FilePaths& paths);

}  // namespace tavi
