// Hang-ups and termination requests, with real signals in a child process:
// what the process itself does with them, and what the commands it starts
// are given.
#include "component/run_signals.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "component/run_command.h"
#include "tests/component/child_process.h"

namespace {

// How a command started through the shell meets a signal sent to itself.
std::string CommandMeets(const char* signal) {
  const std::string said =
      RunCommand(std::string("sh -c 'kill -") + signal + " $$; echo survived' 2>/dev/null");
  return said.empty() ? "ended" : "survived";
}

TEST(HangUps, EndNeitherTheRunNorWhatItStarts) {
  const ChildResult child = RunInChild([](int report) {
    IgnoreHangUps();
    ::raise(SIGHUP);
    Say(report, "alive, command " + CommandMeets("HUP") + "\n");
    return 0;
  });
  EXPECT_EQ(child.exitCode, 0);
  EXPECT_EQ(child.said, "alive, command survived\n");
}

TEST(TerminationDuringFlash, IsHeldWhileTheCommandsKeepTheDefault) {
  const ChildResult child = RunInChild([](int report) {
    HoldTerminationDuringFlash();
    Say(report,
        std::string("before: ") + (TerminationWasRequested() ? "requested" : "none") + "\n");
    ::raise(SIGTERM);
    Say(report, std::string("held: ") + (TerminationWasRequested() ? "requested" : "none") +
                    ", command " + CommandMeets("TERM") + "\n");
    ReleaseTermination();
    ::raise(SIGTERM);
    Say(report, "not ended by a later one\n");
    return 0;
  });
  EXPECT_EQ(child.exitCode, 128 + SIGTERM);
  EXPECT_EQ(child.said, "before: none\nheld: requested, command ended\n");
}

// A SIGTERM the program was started with ignored stays ignored, for the
// program and its commands alike, through the hold and after it.
TEST(TerminationDuringFlash, StartedIgnoredStaysIgnored) {
  const ChildResult child = RunInChild([](int report) {
    ::signal(SIGTERM, SIG_IGN);
    HoldTerminationDuringFlash();
    ::raise(SIGTERM);
    Say(report, "held: command " + CommandMeets("TERM") + "\n");
    ReleaseTermination();
    ::raise(SIGTERM);
    Say(report, "after: alive\n");
    return 0;
  });
  EXPECT_EQ(child.exitCode, 0);
  EXPECT_EQ(child.said, "held: command survived\nafter: alive\n");
}

TEST(TerminationDuringFlash, ReleaseWithoutHoldChangesNothing) {
  const ChildResult child = RunInChild([](int report) {
    // Whatever an earlier hold in this process left behind, a disposition
    // set since then is the one in force.
    HoldTerminationDuringFlash();
    ::signal(SIGTERM, SIG_DFL);
    ReleaseTermination();
    Say(report, "released\n");
    ::raise(SIGTERM);
    return 0;
  });
  EXPECT_EQ(child.exitCode, 128 + SIGTERM);
  EXPECT_EQ(child.said, "released\n");
}

}  // namespace
