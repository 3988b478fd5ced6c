#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tavi {

class ErrorLog;

struct HighscoreEntry {
  char name[12] = {};  // up to the first zero byte, or all 12 bytes when none is zero
  std::int32_t score = 0;
};

// The ten best results and their 160-byte file (the screen code draws them).
class HighscoreTable {
 public:
  static constexpr int HighscoreCount = 10;
  static constexpr int NameFieldSize = 12;
  static constexpr int FileSize = 160;

  HighscoreTable(ErrorLog& errorLog, std::string fileName = "Highscore.dat")
      : errorLog_(errorLog), fileName_(std::move(fileName)) {}

  void Load();
  void Clear();
  void Insert(const std::string& name, std::int32_t score);

  // The table as the 160 bytes of its file.
  std::array<unsigned char, FileSize> Bytes() const;
  const HighscoreEntry& Entry(int index) const { return entries_[index]; }
  std::string NameOf(int index) const;
  const std::string& FileName() const { return fileName_; }

 private:
  // Writes the table to its file; a failure goes to the error log.
  bool Save();
  void SetBytes(const std::array<unsigned char, FileSize>& bytes);
  // Sets the cleared entries in memory only.
  void ClearEntries();

  ErrorLog& errorLog_;
  std::string fileName_;
  std::array<HighscoreEntry, HighscoreCount> entries_{};
  bool fileUnreadable_ = false;  // the file exists but could not be read: never written over
};

}  // namespace tavi
