// A flash nobody asked for never starts, only the engine ends one, and no
// other local user can make a run wait, hang or write where it should not:
// the real executable, with signals, a terminal that goes away and another
// user's processes, inside the private namespace.
#include <signal.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/dazudu_cases.h"
#include "tests/e2e/private_namespace.h"

namespace {

using test_support::Transcript;
namespace dz = test_support::dazudu;

const char* const kLockPath = "/var/vdl/fc-hba-update.lock";

e2e::Scenario FlashScenario() { return dazudu_cases::RecordingUpgradeScenario({}); }

std::string CallsLog() { return e2e::DazuduKit{}.CallsLog(); }

// A flash run whose engine gave engineCode.
Transcript Flashed(int engineCode, const std::string& message, int exitCode) {
  return dazudu_cases::Flashing("/update", engineCode).Result(message).FlashComplete(exitCode);
}

const std::string& UsualConsole() {
  static const std::string console = Flashed(0, dz::kAllSuccessful, 1).Console();
  return console;
}

// How the flash's outcome ends the log.
std::string LoggedOutcome(int engineCode, const std::string& message, int exitCode) {
  return Transcript().EngineEnds(engineCode).Result(message).FlashComplete(exitCode).Log();
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

using e2e::EngineRecord;
EngineRecord ReadRecord(const std::string& text) { return e2e::ReadEngineRecord(text); }

// Signals that reach the program, or its whole process group, while the
// engine flashes. The engine, held at its start, goes on once the signal has
// been taken.
struct SignalRow {
  const char* name;
  int signal;
  bool wholeGroup;
  bool engineEnds;  // false: the signal also reached the engine and ended it
  int engineCode;
  const char* message;
  int exitCode;
};

void PrintTo(const SignalRow& row, std::ostream* os) { *os << row.name; }

class SignalDuringFlash : public ::testing::TestWithParam<SignalRow> {};

TEST_P(SignalDuringFlash, EndsOnlyAsTheEngineEnds) {
  const SignalRow& row = GetParam();
  e2e::LiveRun run(FlashScenario());
  E2E_LIVE_SKIP_IF_SKIPPED(run);
  ASSERT_TRUE(run.WaitForFlash());
  run.Signal(row.signal, row.wholeGroup);
  run.ReleaseEngine();
  const e2e::Outcome o = run.Finish();

  EXPECT_EQ(o.exit_code, row.exitCode) << o.err;
  EXPECT_TRUE(EndsWith(o.log, LoggedOutcome(row.engineCode, row.message, row.exitCode))) << o.log;
  EXPECT_EQ(o.out, Flashed(row.engineCode, row.message, row.exitCode).Console());
  // The simulation behind the recording engine notes its arguments once the
  // engine goes on.
  EXPECT_EQ(dazudu_cases::FileOf(o, CallsLog()),
            row.engineEnds ? "/q /fc\n/fc /update\n" : "/q /fc\n");
  const EngineRecord record = ReadRecord(o.engine_calls);
  EXPECT_EQ(record.calls, 2);
  EXPECT_EQ(record.ended, row.engineEnds ? 2 : 1) << o.engine_calls;
  if (row.engineEnds) {
    EXPECT_NE(o.log.find(dazudu_cases::EngineFinished(0) + Transcript().EngineEnds(0).Log()),
              std::string::npos)
        << o.log;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, SignalDuringFlash,
    ::testing::Values(
        SignalRow{"TermToTheProgram", SIGTERM, false, true, 0, dz::kAllSuccessful, 1},
        SignalRow{"TermToTheGroup", SIGTERM, true, false, 128 + SIGTERM, "", 128 + SIGTERM},
        SignalRow{"HangUpToTheProgram", SIGHUP, false, true, 0, dz::kAllSuccessful, 1},
        SignalRow{"HangUpToTheGroup", SIGHUP, true, true, 0, dz::kAllSuccessful, 1},
        // As it always was: Ctrl-C ends the engine, whose code the run reports.
        SignalRow{"InterruptToTheGroup", SIGINT, true, false, 128 + SIGINT, "", 128 + SIGINT}),
    [](const auto& info) { return std::string(info.param.name); });

// A dropped connection: the terminal's master side closes during the flash,
// and the kernel hangs the terminal up.
TEST(TerminalGone, DuringTheFlashEndsOnlyTheConsole) {
  e2e::Scenario s = FlashScenario();
  s.console = e2e::Console::kTerminal;
  e2e::LiveRun run(s);
  E2E_LIVE_SKIP_IF_SKIPPED(run);
  ASSERT_TRUE(run.WaitForFlash());
  run.HangUp();
  run.ReleaseEngine();
  const e2e::Outcome o = run.Finish();

  EXPECT_EQ(o.exit_code, 1) << o.err;
  EXPECT_TRUE(
      EndsWith(o.log, dazudu_cases::EngineFinished(0) + LoggedOutcome(0, dz::kAllSuccessful, 1)))
      << o.log;
  const EngineRecord record = ReadRecord(o.engine_calls);
  EXPECT_EQ(record.calls, 2);
  EXPECT_EQ(record.ended, 2) << o.engine_calls;
  // The terminal carried the transcript until it went away.
  EXPECT_EQ(UsualConsole().compare(0, o.out.size(), o.out), 0) << o.out;
  EXPECT_NE(o.out.find(Transcript().Begin().Loaded().Console()), std::string::npos) << o.out;
}

// The words an administrator tries first for help show the usage and run
// nothing, in a directory that holds a kit with an upgrade pending.
class HelpWord : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(HelpWord, ShowsTheUsageAndRunsNothing) {
  e2e::Scenario s = FlashScenario();
  s.args = GetParam();
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 3) << o.err;
  EXPECT_EQ(o.out, Transcript().Usage().Console());
  EXPECT_EQ(o.files.count(CallsLog()), 0u);  // the kit was never even unpacked
  EXPECT_EQ(o.engine_calls, "");
  EXPECT_EQ(o.log, "");
  EXPECT_EQ(o.var_vdl, "Component.log\n");  // no lock was taken
}

INSTANTIATE_TEST_SUITE_P(Words, HelpWord,
                         ::testing::Values(std::vector<std::string>{"--help"},
                                           std::vector<std::string>{"/?"},
                                           std::vector<std::string>{"-?"},
                                           std::vector<std::string>{"/s", "/f", "--help", "/d"}),
                         [](const auto& info) {
                           const std::vector<std::string>& words = info.param;
                           if (words.size() > 1) return std::string("AfterOtherOptions");
                           if (words[0] == "--help") return std::string("DashDashHelp");
                           return std::string(words[0] == "/?" ? "SlashQuestion" : "DashQuestion");
                         });

// Whatever stands at the lock path, the run neither waits on it nor changes
// it: it locks the spare lock file in /run instead, and its console and log
// are those of any run.
struct LockRow {
  const char* name;
  std::vector<std::string> setup;
  bool heldByOtherUser;  // a process of uid 65534 holds an flock on it
  const char* entry;     // what stands at the lock path afterwards
};

void PrintTo(const LockRow& row, std::ostream* os) { *os << row.name; }

class UnsafeLockPath : public ::testing::TestWithParam<LockRow> {};

const char* const kLockProbe =
    "stat -c '%F %u %a' /var/vdl/fc-hba-update.lock\n"
    "if [ -e /var/planted ]; then echo 'symlink target made'; fi\n"
    "stat -c 'spare: %F %u %a' /run/fc-hba-update.lock";

TEST_P(UnsafeLockPath, IsLeftAloneAndNeverWaitedOn) {
  const LockRow& row = GetParam();
  E2E_REQUIRE_NAMESPACE();
  if (row.heldByOtherUser) E2E_REQUIRE_OTHER_USERS();
  e2e::Scenario s = FlashScenario();
  s.setup = row.setup;
  if (row.heldByOtherUser) s.held_by_other_user = kLockPath;
  s.probe = kLockProbe;
  s.timeout_seconds = 60;  // a run that waits on the other user's lock never ends
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 1) << o.err;
  EXPECT_EQ(o.out, UsualConsole());
  EXPECT_EQ(o.probe, std::string(row.entry) + "\nspare: regular empty file 0 600\n");
  EXPECT_TRUE(EndsWith(o.log, LoggedOutcome(0, dz::kAllSuccessful, 1))) << o.log;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, UnsafeLockPath,
    ::testing::Values(
        LockRow{"SymlinkToAFileElsewhere",
                {"mkdir -p /var/vdl && ln -s /var/planted /var/vdl/fc-hba-update.lock"},
                false,
                "symbolic link 0 777"},
        LockRow{"Fifo",
                {"mkdir -p /var/vdl && mkfifo -m 0600 /var/vdl/fc-hba-update.lock"},
                false,
                "fifo 0 600"},
        LockRow{"Directory", {"mkdir -p /var/vdl/fc-hba-update.lock"}, false, "directory 0 755"},
        LockRow{"FileOthersMayOpenHeldByOne",
                {"mkdir -p /var/vdl && : > /var/vdl/fc-hba-update.lock && "
                 "chmod 0644 /var/vdl/fc-hba-update.lock"},
                true,
                "regular empty file 0 644"},
        LockRow{"OtherUsersFileHeldByThem",
                {"mkdir -p /var/vdl && : > /var/vdl/fc-hba-update.lock && "
                 "chown 65534:65534 /var/vdl/fc-hba-update.lock && "
                 "chmod 0666 /var/vdl/fc-hba-update.lock"},
                true,
                "regular empty file 65534 666"}),
    [](const auto& info) { return std::string(info.param.name); });

// While the other user holds its lock, root's runs still follow one another:
// a second run started while the first one's engine flashes waits for it.
// The first run's engine goes on only once the second has said it waits.
TEST(LockHeldByOtherUser, RootRunsStillFollowOneAnother) {
  E2E_REQUIRE_NAMESPACE();
  E2E_REQUIRE_OTHER_USERS();
  e2e::Scenario s = FlashScenario();
  s.setup = {
      "mkdir -p /var/vdl && : > /var/vdl/fc-hba-update.lock && "
      "chown 65534:65534 /var/vdl/fc-hba-update.lock && "
      "chmod 0666 /var/vdl/fc-hba-update.lock"};
  s.held_by_other_user = kLockPath;
  const std::string program = e2e::ShellQuote(e2e::DefaultBinary());
  s.binary = "/bin/sh";
  s.args = {"-c",
            "export E2E_ENGINE_GATE=\"$PWD/gate\"\n" + program + " >first 2>&1 & first=$!\n" +
                "until grep -q update \"$E2E_ENGINE_CALLS\" 2>/dev/null; do sleep 0.02; done\n" +
                program + " >second 2>&1 & second=$!\n" +
                "until grep -q NOTICE second 2>/dev/null; do sleep 0.02; done\n" +
                "touch \"$E2E_ENGINE_GATE\"\n" + "wait $first; echo \"first $?\"\n" +
                "wait $second; echo \"second $?\"\n"};
  s.read_back = {"first", "second"};
  s.timeout_seconds = 60;
  E2E_RUN(o, s);
  EXPECT_EQ(o.out, "first 1\nsecond 1\n") << o.err;
  EXPECT_EQ(dazudu_cases::FileOf(o, "first"), UsualConsole());
  EXPECT_EQ(dazudu_cases::FileOf(o, "second"),
            Transcript().WaitNotice().Console() + UsualConsole());
  const EngineRecord record = ReadRecord(o.engine_calls);
  EXPECT_EQ(record.calls, 4);
  EXPECT_EQ(record.overlaps, 0) << o.engine_calls;
}

// Whatever another user could have placed at the log path, or could change
// there, is not written, not touched and not handed to the engine's shell:
// the run goes on as with a log that does not open, each text saying so,
// and the engine is not started. Nothing waits on a FIFO.
struct LogRow {
  const char* name;
  std::vector<std::string> setup;
  bool needsOtherUser;
  const char* probe;
  const char* probed;
};

void PrintTo(const LogRow& row, std::ostream* os) { *os << row.name; }

class UnsafeLogPath : public ::testing::TestWithParam<LogRow> {};

TEST_P(UnsafeLogPath, IsNeverOpenedAndTheEngineNeverStarted) {
  const LogRow& row = GetParam();
  E2E_REQUIRE_NAMESPACE();
  if (row.needsOtherUser) E2E_REQUIRE_OTHER_USERS();
  e2e::Scenario s = FlashScenario();
  s.setup = row.setup;
  s.probe = row.probe;
  s.timeout_seconds = 60;  // a run that opens the FIFO waits for ever
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 7) << o.err;
  EXPECT_EQ(o.out, Flashed(2, dz::kAllFailed, 7).ConsoleWithoutLog());
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(dazudu_cases::FileOf(o, CallsLog()), "/q /fc\n");
  EXPECT_EQ(o.probe, row.probed);
}

// Times that a touch of the entry would change.
const char* const kOldTimes = "touch -h -d @1000000000 /var/vdl/Component.log";

INSTANTIATE_TEST_SUITE_P(
    Entries, UnsafeLogPath,
    ::testing::Values(
        LogRow{"Fifo",
               {"mkdir -p /var/vdl && mkfifo /var/vdl/Component.log", kOldTimes},
               false,
               "stat -c '%F %Y' /var/vdl/Component.log",
               "fifo 1000000000\n"},
        LogRow{"Directory",
               {"mkdir -p /var/vdl/Component.log", kOldTimes},
               false,
               "stat -c '%F %Y' /var/vdl/Component.log; ls -A /var/vdl/Component.log",
               "directory 1000000000\n"},
        LogRow{"SymlinkToAFileElsewhere",
               {"mkdir -p /var/vdl && ln -s /var/planted /var/vdl/Component.log"},
               false,
               "if [ -e /var/planted ]; then echo made; else echo 'not made'; fi",
               "not made\n"},
        LogRow{"SecondNameOfAFileElsewhere",
               {"echo precious > /var/precious && mkdir -p /var/vdl && "
                "ln /var/precious /var/vdl/Component.log"},
               false,
               "cat /var/precious",
               "precious\n"},
        LogRow{"FileOthersMayWrite",
               {"mkdir -p /var/vdl && echo before > /var/vdl/Component.log && "
                "chmod 0666 /var/vdl/Component.log"},
               false,
               "cat /var/vdl/Component.log",
               "before\n"},
        LogRow{"DirectoryOthersMayWrite",
               {"mkdir -p /var/vdl && chmod 0777 /var/vdl && echo before > /var/vdl/Component.log"},
               false,
               "cat /var/vdl/Component.log",
               "before\n"},
        LogRow{"OtherUsersFile",
               {"mkdir -p /var/vdl && echo theirs > /var/vdl/Component.log && "
                "chown 65534:65534 /var/vdl/Component.log"},
               true,
               "cat /var/vdl/Component.log",
               "theirs\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A full /var: every text that cannot be written says so on the console,
// after its echo; the run and its exit code are what they would be.
TEST(FullDisk, EachLostTextIsReported) {
  e2e::Scenario s = FlashScenario();
  s.var_size = "64k";
  s.setup = {"dd if=/dev/zero of=/var/fill bs=4k 2>/dev/null || true"};
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 1) << o.err;
  EXPECT_EQ(o.out, Flashed(0, dz::kAllSuccessful, 1).ConsoleWithoutLog());
  EXPECT_EQ(o.log, "");
  EXPECT_EQ(dazudu_cases::FileOf(o, CallsLog()), "/q /fc\n/fc /update\n");
}

// Whatever file-creation mask the program starts with, what it makes is
// writable by nobody else; a stricter mask is kept.
struct MaskRow {
  const char* name;
  const char* umask;
  const char* modes;
};

void PrintTo(const MaskRow& row, std::ostream* os) { *os << row.name; }

class StartingMask : public ::testing::TestWithParam<MaskRow> {};

TEST_P(StartingMask, LeavesNothingWritableByOthers) {
  const MaskRow& row = GetParam();
  e2e::Scenario s = FlashScenario();
  s.umask = row.umask;
  s.probe = "stat -c '%a %n' /var/vdl /var/vdl/Component.log /var/vdl/fc-hba-update.lock";
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 1) << o.err;
  EXPECT_EQ(o.out, UsualConsole());
  EXPECT_EQ(o.probe, row.modes);
}

INSTANTIATE_TEST_SUITE_P(Masks, StartingMask,
                         ::testing::Values(MaskRow{"Open000", "000",
                                                   "755 /var/vdl\n644 /var/vdl/Component.log\n"
                                                   "600 /var/vdl/fc-hba-update.lock\n"},
                                           MaskRow{"Usual022", "022",
                                                   "755 /var/vdl\n644 /var/vdl/Component.log\n"
                                                   "600 /var/vdl/fc-hba-update.lock\n"},
                                           MaskRow{"Strict077", "077",
                                                   "700 /var/vdl\n600 /var/vdl/Component.log\n"
                                                   "600 /var/vdl/fc-hba-update.lock\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
