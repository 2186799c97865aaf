#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "component/vendors/dazudu.h"
#include "component/engine_status.h"
#include "tests/component/scratch.h"
#include "tests/support/transcript.h"

namespace {

using test_support::Transcript;
namespace dz = test_support::dazudu;

const std::string kScript = "dzflashStandalone1.2.3/lx/dzflash.sh";
const std::string kEngineOutput = "engine out /fc /update\nengine err\nengine fd3\n";

std::string EngineScript(int code) {
  return "#!/bin/sh\necho \"engine out $*\"\necho 'engine err' >&2\necho 'engine fd3' >&3\nexit " +
         std::to_string(code) + "\n";
}

struct FlashRow {
  int engineCode;
  const char* message;
  bool advice;
  int exitCode;
};

void PrintTo(const FlashRow& row, std::ostream* os) { *os << row.engineCode; }

const FlashRow kRows[] = {
    {0, dz::kAllSuccessful, false, 1},
    {1, dz::kNothingPerformed, false, 3},
    {2, dz::kAllFailed, false, 7},
    {3, dz::kAllFailed, false, 7},
    {4, dz::kAllFailed, false, 7},
    {5, dz::kAllFailed, false, 7},
    {6, dz::kAllFailed, false, 7},
    {7, "", false, 7},
    {8, "", false, 8},
    {9, "", false, 9},
    {10, "", false, 10},
    {11, dz::kSkippedAllSuccessful, true, 7},
    {12, dz::kSkippedNoUpdatesNeeded, true, 7},
    {13, dz::kSkippedAllFailed, true, 7},
    {14, dz::kSkippedSomeFailed, true, 7},
    {15, dz::kSkippedNoHardware, true, 7},
    {16, dz::kSkippedNoUpdatesAvailable, true, 7},
    {17, "", false, 17},
    {200, "", false, 200},
    {255, "", false, 255},
};

class DazuduFlashTest : public ::testing::TestWithParam<FlashRow> {};

TEST_P(DazuduFlashTest, EngineCodeMapsToExitCodeAndOutputLandsInLog) {
  const FlashRow& row = GetParam();
  Scratch scratch;
  scratch.Write(kScript, EngineScript(row.engineCode), 0755);
  DazuduComp::CComponent component;
  testing::internal::CaptureStdout();
  int exitCode = component.Flash();
  std::string out = testing::internal::GetCapturedStdout();

  const Transcript expected =
      Transcript()
          .Engine(dz::FlashCommand("/update", scratch.LogPath()), kEngineOutput, row.engineCode)
          .Result(row.message)
          .Result(row.advice ? dz::kConvergedAdvice : "");
  EXPECT_EQ(exitCode, row.exitCode);
  EXPECT_EQ(out, expected.Console());
  EXPECT_EQ(scratch.ReadLog(), expected.Log());
}

INSTANTIATE_TEST_SUITE_P(EngineCodes, DazuduFlashTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<FlashRow>& info) {
                           return "Code" + std::to_string(info.param.engineCode);
                         });

TEST(DazuduFlashCommandTest, ForceReplacesUpdate) {
  Scratch scratch;
  scratch.Write(kScript, EngineScript(0), 0755);
  DazuduComp::CComponent component;
  component.force = true;
  testing::internal::CaptureStdout();
  EXPECT_EQ(component.Flash(), 1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.substr(0, out.find('\n') + 1),
            Transcript().EngineStarts(dz::FlashCommand("/f", scratch.LogPath())).Console());
  EXPECT_NE(scratch.ReadLog().find("engine out /fc /f\n"), std::string::npos);
}

// Without a runnable script the shell's own status passes through unchanged.
TEST(DazuduFlashCommandTest, MissingOrUnrunnableScriptPassesShellStatus) {
  struct Row {
    bool present;
    int code;
  };
  for (Row row : {Row{false, 127}, Row{true, 126}}) {
    Scratch scratch;
    if (row.present) scratch.Write(kScript, EngineScript(0), 0644);
    DazuduComp::CComponent component;
    testing::internal::CaptureStdout();
    EXPECT_EQ(component.Flash(), row.code);
    std::string out = testing::internal::GetCapturedStdout();
    std::string tail = Transcript().EngineEnds(row.code).Log();
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    std::string log = scratch.ReadLog();
    EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
  }
}

// An engine run that a signal ends (an operator's Ctrl-C, a supervisor's
// TERM) kills the shell that system() started. It is reported as that
// shell would report a killed command, 128 plus the signal number, which
// passes through with nothing further logged; never as a successful update.
TEST(DazuduFlashCommandTest, ShellKilledBySignalIsNotSuccess) {
  struct Row {
    const char* signal;
    int code;
  };
  for (Row row : {Row{"INT", 130}, Row{"KILL", 137}, Row{"TERM", 143}}) {
    SCOPED_TRACE(row.signal);
    Scratch scratch;
    // The script's parent is the shell, unless the shell ran it in its own
    // place; then the script is the process system() waits for.
    const std::string kill = std::string("kill -") + row.signal;
    scratch.Write(kScript,
                  "#!/bin/sh\necho \"engine out $*\"\nif [ \"$PPID\" = \"" +
                      std::to_string(getpid()) + "\" ]; then " + kill + " $$; else " + kill +
                      " $PPID; fi\nexit 0\n",
                  0755);
    DazuduComp::CComponent component;
    testing::internal::CaptureStdout();
    const int exitCode = component.Flash();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(exitCode, row.code);
    EXPECT_EQ(out.substr(out.find('\n') + 1), Transcript().EngineEnds(row.code).Console());
  }
  EXPECT_EQ(EngineExitCode(-1), 255);  // no shell could be started
}

TEST(DazuduKitTest, PrepareKitUnpacksAndMakesEngineRunnable) {
  Scratch scratch;
  scratch.Write("kit/" + kScript, EngineScript(0), 0644);
  ASSERT_EQ(std::system("cd kit && zip -qr ../dzflashStandalone1.2.3.zip dzflashStandalone1.2.3"),
            0);
  DazuduComp::CComponent component;
  testing::internal::CaptureStdout();
  EXPECT_EQ(component.PrepareKit(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), Transcript().DazuduKit().Console());
  struct stat status;
  ASSERT_EQ(stat(kScript.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0777u);
}

TEST(DazuduKitTest, MissingKitStillReportsDone) {
  Scratch scratch;
  DazuduComp::CComponent component;
  testing::internal::CaptureStdout();
  EXPECT_EQ(component.PrepareKit(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), Transcript().DazuduKit().Console());
  EXPECT_EQ(scratch.ReadLog(), Transcript().DazuduKit().Log());
}

TEST(DazuduKitTest, PadIdFillsToFourCharacters) {
  const std::pair<const char*, const char*> rows[] = {
      {"", "0000"}, {"F1", "00F1"}, {"a", "000a"}, {"1f3a", "1f3a"}, {"12345", "12345"}};
  Scratch scratch;
  DazuduComp::CComponent component;
  for (const auto& row : rows) EXPECT_EQ(component.PadId(row.first), row.second) << row.first;
}

}  // namespace
