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
// Where the lock file cannot be made or locked (a read-only /var, a file
// system without flock), the run goes on unlocked.
#ifndef COMPONENT_RUN_LOCK_H
#define COMPONENT_RUN_LOCK_H

#include <ostream>
#include <string>

class CRunLock {
 public:
  // The console line written while a run waits for another one.
  static const char* const kWaitNotice;

  explicit CRunLock(std::string path);
  // Closes the descriptor; the lock stays with any child that inherited it.
  ~CRunLock();
  CRunLock(const CRunLock&) = delete;
  CRunLock& operator=(const CRunLock&) = delete;

  // Takes the lock, waiting while another process holds it. When it has to
  // wait it first writes kWaitNotice to waitNotice (nullptr: says nothing).
  // True when the lock is held; false when the file cannot be opened or
  // locked, and the run goes on unlocked.
  bool Take(std::ostream* waitNotice);
  bool Held() const { return held; }

 private:
  std::string path;
  int fd;
  bool held;
};

#endif
