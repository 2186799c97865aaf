// CRunLock: one run at a time per host. A run takes an exclusive kernel lock
// (flock) on a lock file before its run sequence and holds it until the
// process ends; a second run waits for it. The kernel drops the lock when the
// last descriptor of it is closed, so a killed run never leaves the host
// locked, and no file's mere presence means "locked".
//
// The descriptor is inherited by the programs the run starts (the shell,
// unzip, the flash engine), so the lock lasts as long as the run or any of
// them: a run killed while its engine goes on flashing keeps the next run
// waiting until the engine has ended. The descriptor sits above 0 to 9, the
// numbers that shell redirections name, so that a command line such as the
// engine's "3>> log" does not replace it.
//
// Only a lock that nobody else can hold is waited for: the lock file must be
// the running user's own regular file that nobody else may open, in a
// directory that nobody else may change (own_file.h). Anything else at the
// lock path (another user's file, a file others may open, a symlink, a FIFO,
// a directory) is left as it is, and the run locks the spare lock file
// instead, which lives in a directory that only root can write to. Whether
// the lock path is safe depends only on things that no other user can
// change, so every run on the host picks the same file and runs still follow
// one another. Where neither file can be made or locked (a read-only /var and
// no spare directory, a file system without flock), the run goes on unlocked.
#ifndef COMPONENT_RUN_LOCK_H
#define COMPONENT_RUN_LOCK_H

#include <ostream>
#include <string>

class CRunLock {
 public:
  // The console line written while a run waits for another one.
  static const char* const kWaitNotice;

  // spare: the lock file used where path cannot be (empty: none).
  explicit CRunLock(std::string path, std::string spare = std::string());
  // Closes the descriptor; the lock stays with any child that inherited it.
  ~CRunLock();
  CRunLock(const CRunLock&) = delete;
  CRunLock& operator=(const CRunLock&) = delete;

  // Takes the lock, waiting while another process holds it. When it has to
  // wait it first writes kWaitNotice to waitNotice (nullptr: says nothing).
  // True when the lock is held; false when neither file can be opened or
  // locked, and the run goes on unlocked.
  bool Take(std::ostream* waitNotice);
  bool Held() const { return held; }

 private:
  std::string path;
  std::string spare;
  int fd;
  bool held;
};

#endif
