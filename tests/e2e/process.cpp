#include "tests/e2e/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace e2e {

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& cwd,
                         int timeout_seconds) {
  ProcessResult result;
  if (argv.empty()) return result;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return result;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return result;
  }
  if (pid == 0) {
    // Own process group, so that a time-out kills the whole tree.
    ::setpgid(0, 0);
    const int devnull = ::open("/dev/null", O_RDONLY);
    if (devnull >= 0) ::dup2(devnull, 0);
    ::dup2(fds[1], 1);
    ::dup2(fds[1], 2);
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(126);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::setpgid(pid, pid);
  ::close(fds[1]);
  result.started = true;

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  bool open = true;
  while (open) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timed_out = true;
      ::kill(-pid, SIGKILL);
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0) continue;
    if (ready == 0) continue;
    char buf[4096];
    const ssize_t n = ::read(fds[0], buf, sizeof buf);
    if (n > 0)
      result.output.append(buf, static_cast<size_t>(n));
    else if (n == 0 || errno != EINTR)
      open = false;
  }
  ::close(fds[0]);

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return result;
  }
  if (WIFEXITED(status))
    result.exit_code = WEXITSTATUS(status);
  else if (WIFSIGNALED(status))
    result.exit_code = 128 + WTERMSIG(status);
  if (result.timed_out) ::kill(-pid, SIGKILL);
  return result;
}

}  // namespace e2e
