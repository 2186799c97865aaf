// Dazudu update runs through the real executable: the engine's exit status
// decides the transcript, the log and the exit code.
#include "tests/e2e/dazudu_cases.h"

namespace {

using dazudu_cases::Discovered;
using test_support::Transcript;
namespace dz = test_support::dazudu;

// The adapter lines: one needs an upgrade, one a rewrite.
const char* const kUpgradeLine =
    "HBA=DZe16002-M6, PCI ID=E260, VID=10DF, SSID=E260, SVID=10DF, Firmware=11.1.0.1, "
    "Boot Code=UB11.2.1.0";
const char* const kRewriteLine =
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, "
    "Boot Code=UB5.12a5";

struct EngineRun {
  int engineCode;
  const char* message;  // logged after the exit-code line; "" for none
  bool advice;
  int exitCode;
};

void PrintTo(const EngineRun& run, std::ostream* os) { *os << "engine code " << run.engineCode; }

// A run that reaches the engine in update mode ("/update", or "/f" when
// forced).
Transcript ExpectedFlash(const std::string& mode, int engineCode, const std::string& message,
                         bool advice, int exitCode) {
  return dazudu_cases::Flashing(mode, engineCode)
      .Result(message)
      .Result(advice ? dz::kConvergedAdvice : "")
      .FlashComplete(exitCode);
}

class DazuduEngineStatus : public ::testing::TestWithParam<EngineRun> {};

TEST_P(DazuduEngineStatus, MapsToTheComponentExitCode) {
  const EngineRun& run = GetParam();
  e2e::Scenario s;
  s.reference = dazudu_cases::Reference();
  e2e::DazuduKit kit{{kUpgradeLine, kRewriteLine}, run.engineCode};
  kit.AddTo(s);
  s.read_back = {kit.CallsLog()};
  E2E_RUN(o, s);

  const Transcript expected =
      ExpectedFlash("/update", run.engineCode, run.message, run.advice, run.exitCode);
  EXPECT_EQ(o.exit_code, run.exitCode) << o.err;
  EXPECT_EQ(o.out, expected.Console());
  EXPECT_EQ(o.log, expected.Log());
  EXPECT_EQ(dazudu_cases::FileOf(o, kit.CallsLog()), "/q /fc\n/fc /update\n");
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DazuduEngineStatus,
    ::testing::Values(
        EngineRun{0, dz::kAllSuccessful, false, 1}, EngineRun{1, dz::kNothingPerformed, false, 3},
        EngineRun{2, dz::kAllFailed, false, 7}, EngineRun{3, dz::kAllFailed, false, 7},
        EngineRun{4, dz::kAllFailed, false, 7}, EngineRun{5, dz::kAllFailed, false, 7},
        EngineRun{6, dz::kAllFailed, false, 7}, EngineRun{7, "", false, 7},
        EngineRun{8, "", false, 8}, EngineRun{9, "", false, 9}, EngineRun{10, "", false, 10},
        EngineRun{11, dz::kSkippedAllSuccessful, true, 7},
        EngineRun{12, dz::kSkippedNoUpdatesNeeded, true, 7},
        EngineRun{13, dz::kSkippedAllFailed, true, 7},
        EngineRun{14, dz::kSkippedSomeFailed, true, 7},
        EngineRun{15, dz::kSkippedNoHardware, true, 7},
        EngineRun{16, dz::kSkippedNoUpdatesAvailable, true, 7}, EngineRun{17, "", false, 17},
        EngineRun{126, "", false, 126}, EngineRun{127, "", false, 127},
        EngineRun{200, "", false, 200}, EngineRun{255, "", false, 255}),
    [](const ::testing::TestParamInfo<EngineRun>& info) {
      return "Engine" + std::to_string(info.param.engineCode);
    });

// Runs beside the engine status table: nothing to upgrade without force (no
// flash), force (the engine gets "/f" in place of "/update"), and silence
// (an empty console, a full log).
struct OptionRun {
  const char* name;
  std::vector<std::string> args;
  const char* line;
  int exitCode;
  Transcript transcript;
  bool silent;
  const char* calls;
};

void PrintTo(const OptionRun& run, std::ostream* os) { *os << run.name; }

const OptionRun kOptionRuns[] = {
    {"RewriteOnlyWithoutForceDoesNothing",
     {},
     kRewriteLine,
     3,
     Discovered().NothingDone(),
     false,
     "/q /fc\n"},
    {"ForceFlashesWithTheForceSwitch",
     {"/f"},
     kRewriteLine,
     1,
     ExpectedFlash("/f", 0, dz::kAllSuccessful, false, 1),
     false,
     "/q /fc\n/fc /f\n"},
    {"SilentKeepsTheConsoleEmptyAndLogsEverything",
     {"/s"},
     kUpgradeLine,
     1,
     ExpectedFlash("/update", 0, dz::kAllSuccessful, false, 1),
     true,
     "/q /fc\n/fc /update\n"},
};

class DazuduUpdateOptions : public ::testing::TestWithParam<OptionRun> {};

TEST_P(DazuduUpdateOptions, RunsTheEngineAsTheOptionsSay) {
  const OptionRun& run = GetParam();
  e2e::Scenario s;
  s.reference = dazudu_cases::Reference();
  s.args = run.args;
  e2e::DazuduKit kit{{run.line}, 0};
  kit.AddTo(s);
  s.read_back = {kit.CallsLog()};
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, run.exitCode) << o.err;
  EXPECT_EQ(o.out, run.transcript.Console(run.silent));
  EXPECT_EQ(o.log, run.transcript.Log());
  EXPECT_EQ(dazudu_cases::FileOf(o, kit.CallsLog()), run.calls);
}

INSTANTIATE_TEST_SUITE_P(Options, DazuduUpdateOptions, ::testing::ValuesIn(kOptionRuns),
                         [](const ::testing::TestParamInfo<OptionRun>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
