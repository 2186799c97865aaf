#include "component/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

// The lowest descriptor the lock may use: above those that shell
// redirections ("3>> log", "exec 4>file") name.
constexpr int kLowestDescriptor = 10;

// Opens the lock file for the lock alone: made when missing (only root may
// open it, so no other user can hold the lock), or opened for reading where
// it exists on a read-only file system. -1 when neither works.
int OpenLockFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  // The copy is inheritable, unlike the descriptor it comes from.
  const int moved = ::fcntl(fd, F_DUPFD, kLowestDescriptor);
  ::close(fd);
  return moved;
}

}  // namespace

const char* const CRunLock::kWaitNotice =
    "NOTICE : Another update is running on this host. Waiting for it to finish...\n";

CRunLock::CRunLock(std::string path) : path(std::move(path)), fd(-1), held(false) {}

CRunLock::~CRunLock() {
  if (fd >= 0) ::close(fd);
}

bool CRunLock::Take(std::ostream* waitNotice) {
  if (held) return true;
  if (fd < 0) fd = OpenLockFile(path);
  if (fd < 0) return false;
  int rc = ::flock(fd, LOCK_EX | LOCK_NB);
  if (rc != 0 && errno == EWOULDBLOCK) {
    if (waitNotice != nullptr) *waitNotice << kWaitNotice << std::flush;
    do {
      rc = ::flock(fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
  }
  if (rc != 0) {
    ::close(fd);
    fd = -1;
    return false;
  }
  held = true;
  return true;
}
