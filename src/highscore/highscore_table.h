#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

  // An empty `fileName` keeps the list in memory only (there is no folder to keep it in).
  HighscoreTable(ErrorLog& errorLog, std::string fileName = "Highscore.dat")
      : errorLog_(errorLog), fileName_(std::move(fileName)) {}

  void Load();
  // Clear and Insert change the list as it is in the file at that moment (another running game
  // may have saved since), so the table in memory becomes the merged list.
  void Clear();
  void Insert(const std::string& name, std::int32_t score);
  // Puts a whole list in place of the table, as a file of these bytes would (an imported list).
  void Replace(const std::array<unsigned char, FileSize>& bytes);

  // Deferred saves, for a list whose lasting copy can be read and written only between frames (the
  // browser's storage): Clear and Insert change the table in memory and keep the change.
  // SaveDeferred then does what a save does at once on the desktop, for all kept changes: under the
  // file's lock it reads the file again, applies them to it, writes the result and makes it the
  // table (false when the file could not be read or written). The changes stay kept until
  // ForgetSaved(count) says that the first `count` of them are stored for good, so that a store
  // that fails later is made again over what is stored then.
  void DeferSaves() { deferSaves_ = true; }
  std::size_t UnsavedChanges() const { return unsaved_.size(); }
  bool SaveDeferred();
  void ForgetSaved(std::size_t count);

  // The table as the 160 bytes of its file.
  std::array<unsigned char, FileSize> Bytes() const;
  const HighscoreEntry& Entry(int index) const { return entries_[index]; }
  std::string NameOf(int index) const;
  const std::string& FileName() const { return fileName_; }

 private:
  struct Change {
    bool clear = false;  // else an insert of name and score, or a replace
    std::string name;
    std::int32_t score = 0;
    bool replace = false;  // the whole table becomes `bytes`
    std::array<unsigned char, FileSize> bytes{};
  };

  void Apply(const Change& change);
  // Under the file's lock: reads the file again, applies the changes not yet saved and `change`
  // (when there is one), and writes the result. A failure goes to the error log; the change then
  // stays in memory. False when there was something to write and it was not written.
  bool Save(const Change* change);
  // Keeps `change` in memory only, as not saved, and reports `error`.
  bool Keep(const Change* change, const std::string& error);
  // In memory only; false when nothing changed.
  bool ApplyToEntries(const Change& change);
  void SetBytes(const std::array<unsigned char, FileSize>& bytes);
  // Sets the cleared entries in memory only.
  void ClearEntries();

  ErrorLog& errorLog_;
  std::string fileName_;
  std::array<HighscoreEntry, HighscoreCount> entries_{};
  // Changes of this session that are not in the file (it could not be written, or saves are
  // deferred): they are applied again over whatever the file holds at the next save.
  std::vector<Change> unsaved_;
  bool deferSaves_ = false;
};

}  // namespace tavi
