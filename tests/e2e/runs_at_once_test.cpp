// Runs of the real executable at the same time on one host follow one
// another through the run lock, each with its own kit preparation, query,
// flash and exit code; a console that has gone away changes nothing but the
// console.
#include <signal.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/dazudu_cases.h"

namespace {

const std::string kWaitNotice = test_support::Transcript().WaitNotice().Console();

using dazudu_cases::RecordingUpgradeScenario;

std::string CallsLog() { return e2e::DazuduKit{}.CallsLog(); }

using e2e::EngineRecord;
EngineRecord ReadRecord(const std::string& text) { return e2e::ReadEngineRecord(text); }

std::string Repeated(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

struct TogetherRow {
  const char* name;
  int count;
  bool sameDir;
  std::vector<std::string> args;
};

void PrintTo(const TogetherRow& row, std::ostream* os) { *os << row.name; }

class RunsAtOnce : public ::testing::TestWithParam<TogetherRow> {};

TEST_P(RunsAtOnce, FollowOneAnotherEachWithItsOwnExitCode) {
  const TogetherRow& row = GetParam();
  const e2e::Scenario s = RecordingUpgradeScenario(row.args);
  E2E_RUN(lone, s);
  ASSERT_EQ(lone.exit_code, 1) << lone.err;
  ASSERT_EQ(dazudu_cases::FileOf(lone, CallsLog()), "/q /fc\n/fc /update\n");

  const std::vector<e2e::Outcome> runs = e2e::RunTogether(s, row.count, row.sameDir);
  E2E_SKIP_IF_SKIPPED(runs.front());
  const bool silent = !row.args.empty();
  for (const e2e::Outcome& run : runs) {
    EXPECT_EQ(run.exit_code, 1) << run.err;
    // A run that had to wait says so on the console first, unless silent.
    EXPECT_TRUE(run.out == lone.out || (!silent && run.out == kWaitNotice + lone.out)) << run.out;
    EXPECT_EQ(dazudu_cases::FileOf(run, CallsLog()),
              Repeated(dazudu_cases::FileOf(lone, CallsLog()), row.sameDir ? row.count : 1));
  }
  // The log holds one whole transcript after another.
  EXPECT_EQ(runs.front().log, Repeated(lone.log, row.count));
  const EngineRecord record = ReadRecord(runs.front().engine_calls);
  EXPECT_EQ(record.calls, 2 * row.count);
  EXPECT_EQ(record.overlaps, 0) << runs.front().engine_calls;
}

INSTANTIATE_TEST_SUITE_P(Runs, RunsAtOnce,
                         ::testing::Values(TogetherRow{"ThreeInOneDirectory", 3, true, {}},
                                           TogetherRow{"ThreeInThreeDirectories", 3, false, {}},
                                           TogetherRow{"TwoSilentInOneDirectory", 2, true, {"/s"}}),
                         [](const auto& info) { return std::string(info.param.name); });

// How the engine sees SIGPIPE: as this test process does, through the
// namespace's shell and the program.
std::string SigpipeAsStarted() {
  struct sigaction action {};
  ::sigaction(SIGPIPE, nullptr, &action);
  return action.sa_handler == SIG_IGN ? "sigpipe ignored\n" : "sigpipe default\n";
}

struct ConsoleRow {
  const char* name;
  e2e::Console console;
  std::vector<std::string> args;
  int exitCode;
};

void PrintTo(const ConsoleRow& row, std::ostream* os) { *os << row.name; }

class ConsoleGone : public ::testing::TestWithParam<ConsoleRow> {};

TEST_P(ConsoleGone, EndsOnlyTheConsoleOutput) {
  const ConsoleRow& row = GetParam();
  e2e::Scenario s = RecordingUpgradeScenario(row.args);
  E2E_RUN(lone, s);
  s.console = row.console;
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, row.exitCode) << o.err;
  EXPECT_EQ(o.exit_code, lone.exit_code);
  EXPECT_EQ(o.log, lone.log);
  EXPECT_EQ(o.out, "");
  if (row.exitCode == 1) {
    const std::string tail = test_support::Transcript().FlashComplete(1).Log();
    EXPECT_EQ(o.log.substr(o.log.size() - std::min(o.log.size(), tail.size())), tail);
    // The engine was started with SIGPIPE as the program was, not ignored.
    EXPECT_EQ(ReadRecord(o.engine_calls).sigpipe, Repeated(SigpipeAsStarted(), 2));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Console, ConsoleGone,
    ::testing::Values(ConsoleRow{"FlashToClosedPipe", e2e::Console::kClosedPipe, {}, 1},
                      ConsoleRow{"FlashToClosedDescriptor", e2e::Console::kClosed, {}, 1},
                      ConsoleRow{"FlashToFullDevice", e2e::Console::kFullDevice, {}, 1},
                      ConsoleRow{"UsageToClosedPipe", e2e::Console::kClosedPipe, {"/h"}, 3},
                      ConsoleRow{"ParseErrorToClosedPipe", e2e::Console::kClosedPipe, {"/d"}, 7}),
    [](const auto& info) { return std::string(info.param.name); });

// Where the lock file is: beside the log, made by a run and not by the
// command line alone; with /var read-only the run goes on unlocked, as
// before the lock.
struct LockFileRow {
  const char* name;
  std::vector<std::string> args;
  bool varReadOnly;
  const char* varVdl;  // the names in /var/vdl afterwards
  int exitCode;
};

void PrintTo(const LockFileRow& row, std::ostream* os) { *os << row.name; }

class LockFile : public ::testing::TestWithParam<LockFileRow> {};

TEST_P(LockFile, LiesBesideTheLog) {
  const LockFileRow& row = GetParam();
  e2e::Scenario s = RecordingUpgradeScenario(row.args);
  s.log_dir_unwritable = row.varReadOnly;
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, row.exitCode) << o.err;
  EXPECT_EQ(o.var_vdl, row.varVdl);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, LockFile,
    ::testing::Values(LockFileRow{"Flash", {}, false, "Component.log\nfc-hba-update.lock\n", 1},
                      LockFileRow{"Help", {"/h"}, false, "Component.log\n", 3},
                      LockFileRow{"ParseError", {"/d"}, false, "Component.log\n", 7},
                      LockFileRow{"ReadOnlyVar", {}, true, "", 7}),
    [](const auto& info) { return std::string(info.param.name); });

// A run killed while its engine flashes: the engine goes on, and holds the
// lock it inherited, so a retry starts its own engine calls only after it.
TEST(KilledRun, RetryWaitsForTheEngineItLeftFlashing) {
  e2e::Scenario s = RecordingUpgradeScenario({});
  const std::string program = e2e::ShellQuote(e2e::DefaultBinary());
  s.binary = "/bin/sh";
  s.args = {"-c",
            program + " >/dev/null & run=$!\n" +
                "until grep -q update \"$E2E_ENGINE_CALLS\" 2>/dev/null; do sleep 0.02; done\n" +
                "kill -9 $run\n" + "wait $run\n" + "exec " + program + "\n"};
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 1) << o.err;
  EXPECT_EQ(dazudu_cases::FileOf(o, CallsLog()), Repeated("/q /fc\n/fc /update\n", 2));
  const EngineRecord record = ReadRecord(o.engine_calls);
  EXPECT_EQ(record.calls, 4);
  EXPECT_EQ(record.overlaps, 0) << o.engine_calls;
}

// A lock file that is already there is locked on a read-only /var too, though
// no log can be written there.
TEST(LockFileReadOnly, StillKeepsRunsApartWhereItExists) {
  e2e::Scenario s = RecordingUpgradeScenario({});
  s.root_files = {{"/var/vdl/fc-hba-update.lock", ""}};
  s.log_dir_unwritable = true;
  const std::vector<e2e::Outcome> runs = e2e::RunTogether(s, 2, false);
  E2E_SKIP_IF_SKIPPED(runs.front());
  for (const e2e::Outcome& run : runs) {
    EXPECT_EQ(run.exit_code, 7) << run.err;  // the engine's output cannot reach the log
    EXPECT_EQ(dazudu_cases::FileOf(run, CallsLog()), "/q /fc\n");
  }
  const EngineRecord record = ReadRecord(runs.front().engine_calls);
  EXPECT_EQ(record.calls, 2);
  EXPECT_EQ(record.overlaps, 0) << runs.front().engine_calls;
}

}  // namespace
