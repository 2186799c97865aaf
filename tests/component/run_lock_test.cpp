// The run lock alone: processes that take it one after another, a lock that
// goes with a killed holder, and one that stays with a child that inherited it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>

#include "component/run_lock.h"
#include "fchba/fixed_paths.h"
#include "tests/component/scratch.h"

namespace {

// The lock path under the test root, with its directory made.
std::string LockPath() {
  const std::string path = FixedPaths::Resolve(FixedPaths::kLockFile);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  return path;
}

// The spare lock path under the test root, with its directory made.
std::string SparePath() {
  const std::string path = FixedPaths::Resolve(FixedPaths::kSpareLockFile);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  return path;
}

// Whether another open of the lock file finds it locked.
bool LockIsBusy(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return busy;
}

// A process that takes the run lock and reports on a pipe, one line each:
// the wait notice when it has to wait, then "taken" (or "unlocked"). It keeps
// the lock until End() or Kill(). With a shell, it then starts a shell that
// inherits the lock, redirects descriptors 3 to 9 as shell scripts do, says
// "shell" and runs until EndShell().
class LockProcess {
 public:
  LockProcess(const std::string& path, bool withShell, const std::string& spare = "") {
    int report[2], control[2], shellControl[2];
    if (::pipe2(report, O_CLOEXEC) != 0 || ::pipe2(control, O_CLOEXEC) != 0 ||
        ::pipe2(shellControl, O_CLOEXEC) != 0) {
      ADD_FAILURE() << "no pipes";
      return;
    }
    std::fflush(stdout);
    std::cout.flush();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(report[1], 1);
      // Only its own pipe ends: an end of another LockProcess's pipe kept
      // here would keep that one from ever seeing its pipe close.
      for (int fd = 3; fd < 1024; ++fd) {
        if (fd != control[0] && fd != shellControl[0]) ::close(fd);
      }
      CRunLock lock(path, spare);
      std::cout << (lock.Take(&std::cout) ? "taken\n" : "unlocked\n") << std::flush;
      if (withShell && ::fork() == 0) {
        ::dup2(shellControl[0], 0);
        ::execl("/bin/sh", "sh", "-c",
                "exec 3>/dev/null 4>&3 5>&3 6>&3 7>&3 8>&3 9>&3; echo shell; read line", nullptr);
        ::_exit(127);
      }
      char byte;
      while (::read(control[0], &byte, 1) > 0) {
      }
      ::_exit(0);
    }
    ::close(report[1]);
    ::close(control[0]);
    ::close(shellControl[0]);
    report_ = report[0];
    control_ = control[1];
    shellControl_ = shellControl[1];
  }

  ~LockProcess() {
    EndShell();
    Kill();
    if (report_ >= 0) ::close(report_);
  }

  // The next line it reported, without its line end; "" when none came in 30 s.
  std::string ReadLine() {
    for (;;) {
      const std::size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        const std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      pollfd p{report_, POLLIN, 0};
      char chunk[256];
      if (::poll(&p, 1, 30000) <= 0) return "";
      const ssize_t n = ::read(report_, chunk, sizeof chunk);
      if (n <= 0) return "";
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  // Whether it has reported anything more so far (no waiting).
  bool HasReported() {
    pollfd p{report_, POLLIN, 0};
    return !buffer_.empty() || ::poll(&p, 1, 0) > 0;
  }

  // Lets it end normally; returns once it has.
  void End() {
    CloseFd(control_);
    Reap();
  }

  void Kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    CloseFd(control_);
    Reap();
  }

  void EndShell() { CloseFd(shellControl_); }

 private:
  static void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }

  void Reap() {
    if (pid_ <= 0) return;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
  }

  pid_t pid_ = -1;
  int report_ = -1;
  int control_ = -1;
  int shellControl_ = -1;
  std::string buffer_;
};

std::string NoticeLine() {
  std::string line = CRunLock::kWaitNotice;
  line.pop_back();
  return line;
}

TEST(RunLockTest, TakesAFreeLockSilentlyAndHoldsItWhileItLives) {
  Scratch scratch;
  const std::string path = LockPath();
  std::ostringstream notice;
  {
    CRunLock lock(path);
    EXPECT_FALSE(lock.Held());
    EXPECT_TRUE(lock.Take(&notice));
    EXPECT_TRUE(lock.Held());
    EXPECT_TRUE(LockIsBusy(path));
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(status.st_size, 0);
  }
  EXPECT_FALSE(LockIsBusy(path));
  EXPECT_EQ(notice.str(), "");
}

TEST(RunLockTest, GoesOnUnlockedWhereTheFileCannotBeMade) {
  Scratch scratch;
  std::ostringstream notice;
  CRunLock lock(scratch.Dir() + "/no such directory/run.lock");
  EXPECT_FALSE(lock.Take(&notice));
  EXPECT_FALSE(lock.Held());
  EXPECT_EQ(notice.str(), "");
}

// How the first holder lets go, while a second process waits.
enum class Release { kEnds, kKilled, kKilledWhileItsShellRuns };

struct ReleaseRow {
  const char* name;
  Release release;
};

void PrintTo(const ReleaseRow& row, std::ostream* os) { *os << row.name; }

class RunLockOrder : public ::testing::TestWithParam<ReleaseRow> {};

TEST_P(RunLockOrder, SecondWaitsUntilTheFirstHasLetGo) {
  Scratch scratch;
  const std::string path = LockPath();
  const bool withShell = GetParam().release == Release::kKilledWhileItsShellRuns;
  LockProcess first(path, withShell);
  ASSERT_EQ(first.ReadLine(), "taken");
  if (withShell) {
    ASSERT_EQ(first.ReadLine(), "shell");
  }

  LockProcess second(path, false);
  ASSERT_EQ(second.ReadLine(), NoticeLine());
  EXPECT_FALSE(second.HasReported());

  if (GetParam().release == Release::kEnds) {
    first.End();
  } else {
    first.Kill();
  }
  if (withShell) {
    // The holder is gone, but the shell it started still holds the lock.
    EXPECT_TRUE(LockIsBusy(path));
    EXPECT_FALSE(second.HasReported());
    first.EndShell();
  }
  EXPECT_EQ(second.ReadLine(), "taken");
  EXPECT_TRUE(LockIsBusy(path));
  second.End();
  EXPECT_FALSE(LockIsBusy(path));
}

INSTANTIATE_TEST_SUITE_P(Release, RunLockOrder,
                         ::testing::Values(ReleaseRow{"FirstEnds", Release::kEnds},
                                           ReleaseRow{"FirstKilled", Release::kKilled},
                                           ReleaseRow{"FirstKilledWhileItsShellRuns",
                                                      Release::kKilledWhileItsShellRuns}),
                         RowName<ReleaseRow>);

// Where the lock file beside the log is one that others could hold or have
// placed, the run locks the spare file instead: it neither waits on the
// entry nor changes it, and another run that finds the same entry waits for
// it on the spare.
struct UnsafeLockRow {
  const char* name;
  std::function<void(const std::string& path)> make;
};

void PrintTo(const UnsafeLockRow& row, std::ostream* os) { *os << row.name; }

class UnsafeLockEntry : public ::testing::TestWithParam<UnsafeLockRow> {};

TEST_P(UnsafeLockEntry, IsLeftAloneAndTheSpareTaken) {
  Scratch scratch;
  const std::string path = LockPath();
  const std::string spare = SparePath();
  GetParam().make(path);
  struct stat before {};
  ASSERT_EQ(::lstat(path.c_str(), &before), 0);

  LockProcess first(path, false, spare);
  ASSERT_EQ(first.ReadLine(), "taken");
  EXPECT_TRUE(LockIsBusy(spare));
  struct stat spareStatus {};
  ASSERT_EQ(::stat(spare.c_str(), &spareStatus), 0);
  EXPECT_EQ(spareStatus.st_mode & 0777, 0600u);
  LockProcess second(path, false, spare);
  ASSERT_EQ(second.ReadLine(), NoticeLine());
  EXPECT_FALSE(second.HasReported());
  first.End();
  EXPECT_EQ(second.ReadLine(), "taken");
  second.End();

  struct stat after {};
  ASSERT_EQ(::lstat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_FALSE(FileExists(path + ".target"));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, UnsafeLockEntry,
    ::testing::Values(
        UnsafeLockRow{"SymlinkToAFileElsewhere",
                      [](const std::string& path) {
                        std::filesystem::create_symlink(path + ".target", path);
                      }},
        UnsafeLockRow{"Fifo", [](const std::string& path) { ::mkfifo(path.c_str(), 0600); }},
        UnsafeLockRow{"Directory",
                      [](const std::string& path) { std::filesystem::create_directory(path); }},
        // Opening for reading is enough to hold an flock.
        UnsafeLockRow{"FileOthersMayRead",
                      [](const std::string& path) {
                        test_support::WriteFile(path, "", 0644);
                        ::chmod(path.c_str(), 0644);
                      }},
        UnsafeLockRow{"SecondNameOfAFile",
                      [](const std::string& path) {
                        test_support::WriteFile(path + ".first", "", 0600);
                        std::filesystem::create_hard_link(path + ".first", path);
                      }},
        UnsafeLockRow{"DirectoryOthersMayWrite",
                      [](const std::string& path) {
                        test_support::WriteFile(path, "", 0600);
                        ::chmod(std::filesystem::path(path).parent_path().c_str(), 0777);
                      }}),
    RowName<UnsafeLockRow>);

// The usual case leaves the spare alone; where neither file is safe, the run
// goes on unlocked rather than waiting on anything.
TEST(RunLockSpare, UsedOnlyWhereTheLockBesideTheLogCannotBe) {
  Scratch scratch;
  const std::string path = LockPath();
  const std::string spare = SparePath();
  {
    CRunLock lock(path, spare);
    EXPECT_TRUE(lock.Take(nullptr));
    EXPECT_TRUE(LockIsBusy(path));
    EXPECT_FALSE(FileExists(spare));
  }
  std::filesystem::remove(path);
  std::filesystem::create_symlink(path + ".target", path);
  std::filesystem::create_symlink(spare + ".target", spare);
  std::ostringstream notice;
  CRunLock lock(path, spare);
  EXPECT_FALSE(lock.Take(&notice));
  EXPECT_EQ(notice.str(), "");
  EXPECT_FALSE(FileExists(path + ".target"));
  EXPECT_FALSE(FileExists(spare + ".target"));
}

}  // namespace
