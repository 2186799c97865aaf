// A console that has gone away: the process lives on with its log complete,
// and the programs it starts see SIGPIPE as the process was started to.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>

#include "component/closed_console.h"
#include "component/logger.h"
#include "component/run_command.h"
#include "tests/component/child_process.h"
#include "tests/component/scratch.h"

namespace {

// Points standard output at a pipe whose reader has closed.
void ConsoleToClosedPipe() {
  int fds[2];
  if (::pipe(fds) != 0) std::abort();
  ::close(fds[0]);
  ::dup2(fds[1], 1);
  ::close(fds[1]);
}

struct DispositionRow {
  const char* name;
  void (*startedWith)(int);
  const char* said;
};

void PrintTo(const DispositionRow& row, std::ostream* os) { *os << row.name; }

class ClosedConsoleDisposition : public ::testing::TestWithParam<DispositionRow> {};

TEST_P(ClosedConsoleDisposition, WritesFailAndChildrenKeepWhatTheProcessGot) {
  const DispositionRow& row = GetParam();
  const ChildResult child = RunInChild([&row](int report) {
    ::signal(SIGPIPE, row.startedWith);
    KeepRunningWhenConsoleCloses();
    struct sigaction own {};
    ::sigaction(SIGPIPE, nullptr, &own);
    Say(report, own.sa_handler == SIG_IGN   ? "own: ignored\n"
                : own.sa_handler == SIG_DFL ? "own: default\n"
                                            : "own: caught\n");
    // A program started through the shell reads its own signal state.
    const std::string ignored = RunCommand("sed -n 's/^SigIgn:[[:space:]]*//p' /proc/self/status");
    const bool childIgnores = (std::stoull(ignored, nullptr, 16) & (1ull << (SIGPIPE - 1))) != 0;
    Say(report, childIgnores ? "child: ignored\n" : "child: default\n");
    ConsoleToClosedPipe();
    const bool failed = ::write(1, "x", 1) < 0 && errno == EPIPE;
    Say(report, failed ? "write: EPIPE\n" : "write: ?\n");
    return 0;
  });
  EXPECT_EQ(child.exitCode, 0);
  EXPECT_EQ(child.said, row.said);
}

INSTANTIATE_TEST_SUITE_P(
    StartedWith, ClosedConsoleDisposition,
    ::testing::Values(
        DispositionRow{"Default", SIG_DFL, "own: caught\nchild: default\nwrite: EPIPE\n"},
        DispositionRow{"Ignored", SIG_IGN, "own: ignored\nchild: ignored\nwrite: EPIPE\n"}),
    RowName<DispositionRow>);

struct ConsoleRow {
  const char* name;
  void (*connect)();
};

void PrintTo(const ConsoleRow& row, std::ostream* os) { *os << row.name; }

class LoggerWithoutConsole : public ::testing::TestWithParam<ConsoleRow> {};

// More than a console buffer holds, so that writes fail while pieces are
// still coming.
TEST_P(LoggerWithoutConsole, StopsTheConsoleAndKeepsEveryPieceInTheFile) {
  Scratch scratch;
  const ConsoleRow& row = GetParam();
  std::string expected;
  for (int i = 0; i < 400; ++i) expected += "piece " + std::to_string(i) + " of the transcript\n";
  const ChildResult child = RunInChild([&row](int report) {
    KeepRunningWhenConsoleCloses();
    CLogger log;
    row.connect();
    for (int i = 0; i < 400; ++i) log << "piece " << i << " of the transcript\n";
    std::cout.flush();
    Say(report, std::cout.bad() ? "console ended\n" : "console still writing\n");
    return 0;
  });
  EXPECT_EQ(child.exitCode, 0);
  EXPECT_EQ(child.said, "console ended\n");
  EXPECT_EQ(scratch.ReadLog(), expected);
}

INSTANTIATE_TEST_SUITE_P(Console, LoggerWithoutConsole,
                         ::testing::Values(ConsoleRow{"ClosedPipe", ConsoleToClosedPipe},
                                           ConsoleRow{"ClosedDescriptor", [] { ::close(1); }},
                                           ConsoleRow{"FullDevice",
                                                      [] {
                                                        const int fd =
                                                            ::open("/dev/full", O_WRONLY);
                                                        ::dup2(fd, 1);
                                                        ::close(fd);
                                                      }}),
                         RowName<ConsoleRow>);

}  // namespace
