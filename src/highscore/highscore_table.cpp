#include "highscore/highscore_table.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/atomic_file.h"
#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/file_links.h"
#include "base/translate.h"
#include "highscore/file_lock.h"
#include "highscore/player_file_rule.h"

namespace tavi {

namespace {

constexpr int EntrySize = HighscoreTable::NameFieldSize + 4;

enum class ReadOutcome { Read, Missing, Unreadable };

// Reads up to `max` bytes from the start of a regular file, `path` being the end of its links
// (ResolveLinks). `got` and `buffer` are only valid for ReadOutcome::Read; a file that fails
// part-way counts as unreadable as a whole.
ReadOutcome ReadPrefix(const std::string& path, unsigned char* buffer, std::size_t max,
                       std::size_t& got) {
  // O_NONBLOCK keeps a FIFO under that name from blocking the game; it is refused below.
  // O_NOFOLLOW: a link planted since the links were resolved is not followed.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
  if (fd < 0) return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Unreadable;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return ReadOutcome::Unreadable;
  }
  got = 0;
  while (got < max) {
    const ssize_t n = ::read(fd, buffer + got, max - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return ReadOutcome::Unreadable;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return ReadOutcome::Read;
}

}  // namespace

void HighscoreTable::Load() {
  unsaved_.clear();
  if (fileName_.empty()) return ClearEntries();
  std::array<unsigned char, FileSize> bytes = Bytes();
  std::size_t got = 0;
  std::string target;
  std::string error;
  if (!ResolveLinks(fileName_, target, error)) {
    // A link someone else planted: neither read nor (see Apply) written through.
    ClearEntries();
    errorLog_.LogError(FillIn(Translate("Highscore konnte nicht ge\xF6" "ffnet werden (%s)"), {error}));  // geöffnet
    return;
  }
  ReadOutcome outcome = ReadPrefix(target, bytes.data(), bytes.size(), got);
  if (outcome == ReadOutcome::Missing) {
    Clear();  // writes a fresh file
    bytes = Bytes();
    outcome = ReadPrefix(target, bytes.data(), bytes.size(), got);
  }
  if (outcome != ReadOutcome::Read) {
    // A file that exists but cannot be read may still hold the player's results: it is never
    // written over (see Apply); the game plays on with a cleared table in memory.
    ClearEntries();
    errorLog_.LogError(Translate("Highscore konnte nicht ge\xF6" "ffnet werden"));  // geöffnet
    return;
  }
  // A short file replaces only the bytes it has; the rest of the table keeps what it held.
  SetBytes(bytes);
}

void HighscoreTable::Clear() { Apply(Change{true, {}, 0}); }

void HighscoreTable::Replace(const std::array<unsigned char, FileSize>& bytes) {
  Apply(Change{false, {}, 0, true, bytes});
}

void HighscoreTable::Insert(const std::string& name, std::int32_t score) {
  Apply(Change{false, name, score});
}

bool HighscoreTable::ApplyToEntries(const Change& change) {
  if (change.clear) {
    ClearEntries();
    return true;  // written even when it was clear already
  }
  if (change.replace) {
    SetBytes(change.bytes);
    return true;
  }
  int place = 0;
  // Equal scores stay above: an older result is never pushed down by an equal newer one.
  while (place < HighscoreCount && entries_[place].score >= change.score) ++place;
  if (place == HighscoreCount) return false;
  for (int k = HighscoreCount - 1; k > place; --k) entries_[k] = entries_[k - 1];

  HighscoreEntry& entry = entries_[place];
  const std::size_t length = ::strnlen(change.name.c_str(), NameFieldSize);
  std::memcpy(entry.name, change.name.data(), length);
  // A full 12-character name has no terminator; the bytes after a shorter one's stay as they were.
  if (length < static_cast<std::size_t>(NameFieldSize)) entry.name[length] = '\0';
  entry.score = change.score;
  return true;
}

std::array<unsigned char, HighscoreTable::FileSize> HighscoreTable::Bytes() const {
  std::array<unsigned char, FileSize> bytes{};
  for (int k = 0; k < HighscoreCount; ++k) {
    unsigned char* out = bytes.data() + k * EntrySize;
    std::memcpy(out, entries_[k].name, NameFieldSize);
    // Little-endian whatever the machine, so the file moves between machines unchanged.
    const auto score = static_cast<std::uint32_t>(entries_[k].score);
    for (int b = 0; b < 4; ++b) {
      out[NameFieldSize + b] = static_cast<unsigned char>(score >> (8 * b));
    }
  }
  return bytes;
}

std::string HighscoreTable::NameOf(int index) const {
  const char* name = entries_[index].name;
  return std::string(name, ::strnlen(name, NameFieldSize));
}

void HighscoreTable::SetBytes(const std::array<unsigned char, FileSize>& bytes) {
  for (int k = 0; k < HighscoreCount; ++k) {
    const unsigned char* in = bytes.data() + k * EntrySize;
    std::memcpy(entries_[k].name, in, NameFieldSize);
    std::uint32_t score = 0;
    for (int b = 0; b < 4; ++b) {
      score |= static_cast<std::uint32_t>(in[NameFieldSize + b]) << (8 * b);
    }
    entries_[k].score = static_cast<std::int32_t>(score);
  }
}

void HighscoreTable::ClearEntries() {
  // Only "-" and its terminator are written; the other ten name bytes keep what they held.
  for (HighscoreEntry& entry : entries_) {
    entry.name[0] = '-';
    entry.name[1] = '\0';
    entry.score = 0;
  }
}

void HighscoreTable::Apply(const Change& change) {
  if (fileName_.empty()) {
    ApplyToEntries(change);
    return;
  }
  if (deferSaves_) {
    // Kept even when it changes nothing here: the stored list it is applied to may differ.
    ApplyToEntries(change);
    unsaved_.push_back(change);
    return;
  }
  Save(&change);
}

bool HighscoreTable::SaveDeferred() { return unsaved_.empty() || fileName_.empty() || Save(nullptr); }

void HighscoreTable::ForgetSaved(std::size_t count) {
  const auto saved = static_cast<std::ptrdiff_t>(std::min(count, unsaved_.size()));
  unsaved_.erase(unsaved_.begin(), unsaved_.begin() + saved);
}

bool HighscoreTable::Save(const Change* change) {
  std::string target;
  std::string error;
  if (!ResolveLinks(fileName_, target, error)) return Keep(change, error);
  // Beside the file the links lead to, so that every way to the same list takes the same lock.
  const FileLock lock{target + ".lock"};
  if (lock.Busy()) return Keep(change, FillIn(Translate("%s.lock: von einem anderen Spiel gesperrt"), {FileNameText(target)}));
  std::array<unsigned char, FileSize> bytes = Bytes();
  std::size_t got = 0;
  const ReadOutcome outcome = ReadPrefix(target, bytes.data(), bytes.size(), got);
  if (outcome == ReadOutcome::Unreadable) {
    // What the file holds may be the player's results: it must outlive this run.
    return Keep(change, FillIn(Translate("%s: nicht lesbar, bleibt unver\xE4ndert"), {FileNameText(fileName_)}));  // unverändert
  }
  if (outcome == ReadOutcome::Read) {
    // Read as Load reads it; the same bytes as in memory unless another game saved meanwhile.
    SetBytes(bytes);
    for (const Change& earlier : unsaved_) ApplyToEntries(earlier);
  }
  const bool changed = change && ApplyToEntries(*change);
  if (!changed && unsaved_.empty()) return true;  // nothing to write
  bytes = Bytes();
  if (WriteFileAtomically(target, bytes.data(), bytes.size(), error, WhyNotThePlayersToReplace)) {
    if (!deferSaves_) unsaved_.clear();
    return true;
  }
  if (change) unsaved_.push_back(*change);
  errorLog_.LogError(FillIn(Translate("Highscore konnte nicht gespeichert werden (%s)"), {error}));
  return false;
}

bool HighscoreTable::Keep(const Change* change, const std::string& error) {
  if (change) {
    if (!ApplyToEntries(*change)) return true;  // nothing that needs saving
    unsaved_.push_back(*change);
  }
  // The table in memory keeps the changes; the file keeps its last good contents.
  errorLog_.LogError(FillIn(Translate("Highscore konnte nicht gespeichert werden (%s)"), {error}));
  return false;
}

}  // namespace tavi
