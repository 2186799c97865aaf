#include "component/run_signals.h"

#include <signal.h>

namespace {

volatile sig_atomic_t terminationRequested = 0;

void RecordTermination(int) { terminationRequested = 1; }

// The disposition that ReleaseTermination puts back; the hold is in place
// exactly while RecordTermination is SIGTERM's handler.
struct sigaction beforeHold {};

bool Holding(const struct sigaction& current) {
  return (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == RecordTermination;
}

}  // namespace

void IgnoreHangUps() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGHUP, &ignore, nullptr);
}

void HoldTerminationDuringFlash() {
  struct sigaction current {};
  if (::sigaction(SIGTERM, nullptr, &current) != 0 || Holding(current)) return;
  if ((current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_IGN) return;
  terminationRequested = 0;
  struct sigaction record {};
  record.sa_handler = RecordTermination;
  ::sigemptyset(&record.sa_mask);
  // The program's own waits and writes go on where the signal found them.
  record.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &record, &beforeHold);
}

void ReleaseTermination() {
  struct sigaction current {};
  if (::sigaction(SIGTERM, nullptr, &current) != 0 || !Holding(current)) return;
  ::sigaction(SIGTERM, &beforeHold, nullptr);
}

bool TerminationWasRequested() { return terminationRequested != 0; }
