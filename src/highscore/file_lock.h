#pragma once

#include <string>

namespace tavi {

// An advisory lock (flock) on a lock file, held while the object lives, so that two running games
// take turns at reading and replacing the list. The wait is bounded: a game stopped while holding
// the lock must not freeze another one.
class FileLock {
 public:
  explicit FileLock(const std::string& path, int waitMilliseconds = 2000);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Another process held the lock through the whole wait. A lock file that cannot be made (a
  // read-only folder) or locked at all (a file system without flock) is no reason to stop: the
  // work then goes on unlocked and reports its own failures.
  bool Busy() const { return busy_; }

 private:
  int fd_ = -1;
  bool busy_ = false;
};

}  // namespace tavi
