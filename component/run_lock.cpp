#include "component/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "component/own_file.h"

namespace {

// The lowest descriptor the lock may use: above those that shell
// redirections ("3>> log", "exec 4>file") name.
constexpr int kLowestDescriptor = 10;

// Opens a lock file for the lock alone: made when missing (only its owner
// may open it, so no other user can hold the lock), or opened for reading
// where it exists on a read-only file system. -1 when neither works, or when
// what stands at the path is not a safe lock file of the running user's own.
int OpenLockFile(const std::string& path) {
  int fd = OpenOwnFile(path, O_RDWR | O_CREAT, 0600, kOthersMayNotOpen);
  if (fd < 0) fd = OpenOwnFile(path, O_RDONLY, 0, kOthersMayNotOpen);
  if (fd < 0) return -1;
  // The copy is inheritable, unlike the descriptor it comes from.
  const int moved = ::fcntl(fd, F_DUPFD, kLowestDescriptor);
  ::close(fd);
  return moved;
}

// Locks fd, waiting while another process holds it; says so first.
bool Lock(int fd, std::ostream* waitNotice) {
  int rc = ::flock(fd, LOCK_EX | LOCK_NB);
  if (rc != 0 && errno == EWOULDBLOCK) {
    if (waitNotice != nullptr) *waitNotice << CRunLock::kWaitNotice << std::flush;
    do {
      rc = ::flock(fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
  }
  return rc == 0;
}

}  // namespace

const char* const CRunLock::kWaitNotice =
    "NOTICE : Another update is running on this host. Waiting for it to finish...\n";

CRunLock::CRunLock(std::string path, std::string spare)
    : path(std::move(path)), spare(std::move(spare)), fd(-1), held(false) {}

CRunLock::~CRunLock() {
  if (fd >= 0) ::close(fd);
}

bool CRunLock::Take(std::ostream* waitNotice) {
  if (held) return true;
  for (const std::string* candidate : {&path, &spare}) {
    if (candidate->empty()) continue;
    const int opened = OpenLockFile(*candidate);
    if (opened < 0) continue;
    if (Lock(opened, waitNotice)) {
      fd = opened;
      held = true;
      return true;
    }
    ::close(opened);
  }
  return false;
}
