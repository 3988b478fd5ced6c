#include "highscore/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tavi {

FileLock::FileLock(const std::string& path, int waitMilliseconds) {
  // Read-only is enough for flock and works on a lock file another player made. O_NOFOLLOW keeps
  // a link planted under that name from creating a file elsewhere; O_NONBLOCK a FIFO from hanging.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd_ < 0) return;
  constexpr int StepMilliseconds = 10;
  for (int waited = 0; ::flock(fd_, LOCK_EX | LOCK_NB) != 0;) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK || waited >= waitMilliseconds) {
      busy_ = errno == EWOULDBLOCK;
      ::close(fd_);
      fd_ = -1;
      return;
    }
    ::usleep(StepMilliseconds * 1000);
    waited += StepMilliseconds;
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // releases the lock
}

}  // namespace tavi
