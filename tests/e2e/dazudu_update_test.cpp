// Dazudu update runs through the real executable: the engine's exit status
// decides the transcript, the log and the exit code.
#include "tests/e2e/dazudu_cases.h"

namespace {

using dazudu_cases::kDiscoveryHead;

const char* const kRedirections =
    " 1>> /var/vdl/Component.log 2>> /var/vdl/Component.log 3>> /var/vdl/Component.log";

const char* const kAdvice =
    "For TX7040RM or VR4400K CNAs, please use the \"Firmware image for offline update\" "
    "(Converged Adapter ISO) tool available on support.trovex.com\n";

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

std::string EngineOutput(const std::string& args, int code) {
  return "dzflash: flashing adapters (" + args + ")\n" +
         "dzflash: progress report on standard error\n" +
         "dzflash: status report on descriptor 3\n" + "dzflash: finished with status " +
         std::to_string(code) + "\n";
}

struct Flashed {
  std::string out;
  std::string log;
};

// Transcript and log of a run that reaches the engine in update mode.
Flashed ExpectedFlash(const std::string& mode, int engineCode, const std::string& message,
                      int exitCode) {
  const std::string head = std::string(kDiscoveryHead) + "Performing flash -- DO NOT INTERRUPT!\n" +
                           "Executing flash engine: ./dzflashStandalone*/lx/dzflash.sh /fc  " +
                           mode + kRedirections + "\n";
  const std::string tail = "Flash Engine exit code: " + std::to_string(engineCode) + "\n" +
                           message + "Flash complete [" + std::to_string(exitCode) + "]\n";
  return {head + tail, head + EngineOutput("/fc " + mode, engineCode) + tail};
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

  const Flashed expected =
      ExpectedFlash("/update", run.engineCode,
                    std::string(run.message) + (run.advice ? kAdvice : ""), run.exitCode);
  EXPECT_EQ(o.exit_code, run.exitCode) << o.err;
  EXPECT_EQ(o.out, expected.out);
  EXPECT_EQ(o.log, expected.log);
  EXPECT_EQ(dazudu_cases::FileOf(o, kit.CallsLog()), "/q /fc\n/fc /update\n");
}

const char* const kSuccess = "All updates were successful.  Reboot needed.\n";
const char* const kAllFailed = "All updates failed.\n";

INSTANTIATE_TEST_SUITE_P(
    Codes, DazuduEngineStatus,
    ::testing::Values(
        EngineRun{0, kSuccess, false, 1},
        EngineRun{1, "No operation performed.  No updates needed or discovery command executed.\n",
                  false, 3},
        EngineRun{2, kAllFailed, false, 7}, EngineRun{3, kAllFailed, false, 7},
        EngineRun{4, kAllFailed, false, 7}, EngineRun{5, kAllFailed, false, 7},
        EngineRun{6, kAllFailed, false, 7}, EngineRun{7, "", false, 7}, EngineRun{8, "", false, 8},
        EngineRun{9, "", false, 9}, EngineRun{10, "", false, 10},
        EngineRun{11, "All updates were successful.  Skipped any TX7040RM or VR4400K CNAs.\n", true,
                  7},
        EngineRun{12, "No updates needed.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
        EngineRun{13, "All updates failed.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
        EngineRun{14, "Some updates failed.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
        EngineRun{15, "No supported hardware found.  Skipped any TX7040RM or VR4400K CNAs.\n", true,
                  7},
        EngineRun{16, "No updates available.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
        EngineRun{17, "", false, 17}, EngineRun{126, "", false, 126},
        EngineRun{127, "", false, 127}, EngineRun{200, "", false, 200},
        EngineRun{255, "", false, 255}),
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
  std::string out;
  std::string log;
  const char* calls;
};

void PrintTo(const OptionRun& run, std::ostream* os) { *os << run.name; }

const std::string kNotice = std::string(kDiscoveryHead) + "NOTICE : No operation was done.\n";

const OptionRun kOptionRuns[] = {
    {"RewriteOnlyWithoutForceDoesNothing", {}, kRewriteLine, 3, kNotice, kNotice, "/q /fc\n"},
    {"ForceFlashesWithTheForceSwitch",
     {"/f"},
     kRewriteLine,
     1,
     ExpectedFlash("/f", 0, kSuccess, 1).out,
     ExpectedFlash("/f", 0, kSuccess, 1).log,
     "/q /fc\n/fc /f\n"},
    {"SilentKeepsTheConsoleEmptyAndLogsEverything",
     {"/s"},
     kUpgradeLine,
     1,
     "",
     ExpectedFlash("/update", 0, kSuccess, 1).log,
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
  EXPECT_EQ(o.out, run.out);
  EXPECT_EQ(o.log, run.log);
  EXPECT_EQ(dazudu_cases::FileOf(o, kit.CallsLog()), run.calls);
}

INSTANTIATE_TEST_SUITE_P(Options, DazuduUpdateOptions, ::testing::ValuesIn(kOptionRuns),
                         [](const ::testing::TestParamInfo<OptionRun>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
