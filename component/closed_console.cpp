#include "component/closed_console.h"

#include <signal.h>

namespace {

void IgnoreBrokenPipe(int) {}

}  // namespace

void KeepRunningWhenConsoleCloses() {
  struct sigaction current {};
  if (::sigaction(SIGPIPE, nullptr, &current) != 0) return;
  if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) return;
  struct sigaction handler {};
  handler.sa_handler = IgnoreBrokenPipe;
  ::sigemptyset(&handler.sa_mask);
  handler.sa_flags = SA_RESTART;
  ::sigaction(SIGPIPE, &handler, nullptr);
}
