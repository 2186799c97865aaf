#include "tests/component/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

ChildResult RunInChild(const std::function<int(int report)>& body) {
  ChildResult result;
  int report[2];
  if (::pipe(report) != 0) return result;
  std::fflush(stdout);
  std::cout.flush();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    ::_exit(body(report[1]));
  }
  ::close(report[1]);
  char chunk[256];
  ssize_t n;
  while ((n = ::read(report[0], chunk, sizeof chunk)) > 0)
    result.said.append(chunk, static_cast<std::size_t>(n));
  ::close(report[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

void Say(int report, const std::string& text) {
  if (::write(report, text.data(), text.size()) < 0) std::abort();
}
