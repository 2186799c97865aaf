#include "component/own_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Owned by the running user or by root (whom every user has to trust anyway).
bool OursOrRoots(const struct stat& status) {
  return status.st_uid == ::geteuid() || status.st_uid == 0;
}

// A directory that only its owner can change, owned by the running user or root.
bool TrustedDirectory(const struct stat& status) {
  return S_ISDIR(status.st_mode) && OursOrRoots(status) &&
         (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A regular file of the running user's own (or root's), with one name, and
// without the forbidden mode bits.
bool OwnRegularFile(const struct stat& status, mode_t forbidden) {
  return S_ISREG(status.st_mode) && OursOrRoots(status) && (status.st_mode & forbidden) == 0 &&
         status.st_nlink == 1;
}

// The directory and the last component of a path.
struct Place {
  std::string dir;
  std::string name;
};

Place Split(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// The directory of place opened and judged, and what stands at the name in
// it. The entry is looked at in the directory that was judged, so the two
// cannot be told apart by a rename in between; in a trusted directory only
// the running user and root can change the entry afterwards.
struct Examined {
  OwnFileState state = OwnFileState::kUnreachable;
  int dir = -1;  // open while the state is kUsable
};

Examined Examine(const Place& place, mode_t forbidden) {
  Examined result;
  const int dir = ::open(place.dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return result;
  struct stat status {};
  if (::fstat(dir, &status) != 0) {
    ::close(dir);
    return result;
  }
  if (!TrustedDirectory(status)) {
    ::close(dir);
    result.state = OwnFileState::kUnsafe;
    return result;
  }
  if (::fstatat(dir, place.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
    result.state =
        OwnRegularFile(status, forbidden) ? OwnFileState::kUsable : OwnFileState::kUnsafe;
  } else {
    result.state = errno == ENOENT ? OwnFileState::kUsable : OwnFileState::kUnreachable;
  }
  if (result.state == OwnFileState::kUsable) {
    result.dir = dir;
  } else {
    ::close(dir);
  }
  return result;
}

}  // namespace

OwnFileState ExamineOwnFile(const std::string& path, mode_t forbidden) {
  const Examined examined = Examine(Split(path), forbidden);
  if (examined.dir >= 0) ::close(examined.dir);
  return examined.state;
}

int OpenOwnFile(const std::string& path, int flags, mode_t mode, mode_t forbidden) {
  const Place place = Split(path);
  const Examined examined = Examine(place, forbidden);
  if (examined.state != OwnFileState::kUsable) {
    errno = examined.state == OwnFileState::kUnsafe ? EPERM : ENOENT;
    return -1;
  }
  // A file made here never carries the bits the rule forbids, whatever the
  // file-creation mask.
  int fd = ::openat(examined.dir, place.name.c_str(),
                    flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode & ~forbidden);
  const int openError = errno;
  ::close(examined.dir);
  if (fd < 0) {
    errno = openError;
    return -1;
  }
  // What was opened (or made) is judged again: the entry may have been made
  // or replaced after it was looked at.
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !OwnRegularFile(status, forbidden)) {
    ::close(fd);
    errno = EPERM;
    return -1;
  }
  return fd;
}

void KeepNewFilesFromOthers() {
  const mode_t started = ::umask(022);
  ::umask(started | 022);
}
