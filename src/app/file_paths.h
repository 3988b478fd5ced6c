#pragma once

#include <string>

namespace tavi {

// Where the program keeps what it writes. An empty name means nowhere: the highscore list then
// stays in memory, the error lines go to standard error only, no settings are read or written.
struct FilePaths {
  std::string highscoreFile = "Highscore.dat";
  std::string errorFile = "Error.txt";
  bool errorFileUtf8 = false;  // the per-user log is UTF-8; the portable Error.txt stays Windows-1252
  std::string settingsFile;
};

// What the choice depends on, gathered by the caller.
struct FileEnvironment {
  bool mediaInWorkingDirectory = false;     // the game's media/ there: the portable game folder
  bool settingsInWorkingDirectory = false;  // tavi.ini already there
  std::string dataDir;                      // --data-dir
  std::string home;
  std::string xdgDataHome;
  std::string xdgStateHome;
  std::string xdgConfigHome;
};

// The portable folder keeps Highscore.dat and Error.txt in the working directory, and tavi.ini
// only when it is already there (else in the per-user config folder, so that a game folder
// unpacked from an archive stays as it came). --data-dir is a portable folder elsewhere: all
// three files in it. Otherwise the per-user XDG folders. No file system access.
FilePaths ChooseFilePaths(const FileEnvironment& environment);

// Reads the working directory and the environment for ChooseFilePaths.
FileEnvironment CurrentFileEnvironment(const std::string& dataDir);

// Makes `folder` and each missing folder above it (mode 0700); false with a reason (Windows-1252).
bool MakeFolders(const std::string& folder, std::string& error);

// ChooseFilePaths for this process, with the folders made; a file whose folder cannot be made is
// dropped (said on standard error). Without `settings` there is no settings file.
FilePaths PrepareFilePaths(const std::string& dataDir, bool settings);

}  // namespace tavi
