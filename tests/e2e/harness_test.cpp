// The rig itself: what a program sees inside the namespace, and what comes
// back out. The probes run /bin/sh in place of the component.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest-spi.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/private_namespace.h"
#include "tests/support/scratch_dir.h"

namespace {

struct Probe {
  const char* name;
  std::function<void(e2e::Scenario&)> setup;
  const char* script;
  const char* out;
  int exit_code;
};

e2e::Scenario ShellScenario(const std::string& script) {
  e2e::Scenario s;
  s.binary = "/bin/sh";
  s.args = {"-c", script};
  return s;
}

void PrintTo(const Probe& p, std::ostream* os) { *os << p.name; }

class ProbeTest : public ::testing::TestWithParam<Probe> {};

TEST_P(ProbeTest, SeesTheStagedWorld) {
  const Probe& p = GetParam();
  e2e::Scenario s = ShellScenario(p.script);
  if (p.setup) p.setup(s);
  E2E_RUN(o, s);
  EXPECT_EQ(o.out, p.out);
  EXPECT_EQ(o.exit_code, p.exit_code) << o.err;
}

const Probe kProbes[] = {
    {"DefaultRelease", nullptr, "cat /etc/redhat-release",
     "Red Hat Enterprise Linux Server release 5.8 (Tikanga)\n", 0},
    {"NoReleaseFiles", [](e2e::Scenario& s) { s.release = ""; },
     "test -e /etc/redhat-release || test -e /etc/SuSE-release || echo none", "none\n", 0},
    {"SuseOnlyThroughRootFiles",
     [](e2e::Scenario& s) {
       s.release = "";
       s.root_files = {{"/etc/SuSE-release", "SUSE Linux Enterprise Server 11 (x86_64)\n"}};
     },
     "test -e /etc/redhat-release || cat /etc/SuSE-release",
     "SUSE Linux Enterprise Server 11 (x86_64)\n", 0},
    {"VarStartsEmpty", nullptr, "ls -A /var", "", 0},
    // As root and in a user namespace alike, the program runs as root.
    {"RunsAsRoot", nullptr, "id -u", "0\n", 0},
    {"LogDirUnwritable", [](e2e::Scenario& s) { s.log_dir_unwritable = true; },
     "mkdir -p /var/vdl 2>/dev/null || echo refused", "refused\n", 0},
    {"LibCimLandsInUsrLib",
     [](e2e::Scenario& s) {
       s.root_files = {{"/lib/cim/fake.so", "lib"}};
     },
     "cat /lib/cim/fake.so /usr/lib/cim/fake.so", "liblib", 0},
    {"Lib64File",
     [](e2e::Scenario& s) {
       s.root_files = {{"/usr/lib64/libfake.so", "64"}};
     },
     "cat /usr/lib64/libfake.so", "64", 0},
    {"HbaConf",
     [](e2e::Scenario& s) {
       s.root_files = {{"/etc/hba.conf", "lib /usr/lib/x.so\n"}};
     },
     "cat /etc/hba.conf", "lib /usr/lib/x.so\n", 0},
    {"StreamsAndExitCodeExact", nullptr, "printf 'a\\nb'; printf 'e' >&2; exit 42", "a\nb", 42},
    {"ReferenceInWorkingDir", [](e2e::Scenario& s) { s.reference = "<x/>"; }, "cat reference.xml",
     "<x/>", 0},
    {"NoReferenceByDefault", nullptr, "test -e reference.xml || echo absent", "absent\n", 0},
    {"WorkFilesWithDirsAndMode",
     [](e2e::Scenario& s) {
       s.work_files = {{"sub/tool", "#!/bin/sh\necho tool\n", 0755}};
     },
     "./sub/tool", "tool\n", 0},
    {"DazuduKitQueryMode",
     [](e2e::Scenario& s) {
       e2e::DazuduKit{{"HBA=one", "HBA=two"}}.AddTo(s);
     },
     "unzip -q -o dzflashStandalone*.zip && sh ./dzflashStandalone*/lx/dzflash.sh /q /fc",
     "HBA=one\nHBA=two\n", 0},
    {"DazuduKitUpdateModeExitCode",
     [](e2e::Scenario& s) {
       e2e::DazuduKit{{}, 11}.AddTo(s);
     },
     "unzip -q -o dzflashStandalone*.zip && sh ./dzflashStandalone*/lx/dzflash.sh /fc  /update "
     ">/dev/null 2>&1 3>/dev/null",
     "", 11},
    // Consoles that have gone away: the shell's echo meets each of them.
    {"ClosedPipeConsole", [](e2e::Scenario& s) { s.console = e2e::Console::kClosedPipe; }, "echo x",
     "", 141},
    {"ClosedConsole", [](e2e::Scenario& s) { s.console = e2e::Console::kClosed; },
     "echo x 2>/dev/null || exit 5", "", 5},
    {"FullDeviceConsole", [](e2e::Scenario& s) { s.console = e2e::Console::kFullDevice; },
     "echo x 2>/dev/null || exit 6", "", 6},
    // A terminal console: the program leads its own session, on that terminal.
    {"TerminalConsole", [](e2e::Scenario& s) { s.console = e2e::Console::kTerminal; },
     "test -t 0 && test -t 1 && test \"$(ps -o sid= -p $$)\" -eq $$ && echo terminal",
     "terminal\n", 0},
    {"RunStartsEmptyAndIsRootsAlone", nullptr, "stat -c '%a %u' /run && ls -A /run", "755 0\n",
     0},
    {"StartingMask", [](e2e::Scenario& s) { s.umask = "000"; }, "umask", "0000\n", 0},
    {"SmallVar", [](e2e::Scenario& s) { s.var_size = "64k"; },
     "df -k --output=size /var | tail -n 1 | tr -d ' '", "64\n", 0},
    {"SetupRunsFirst",
     [](e2e::Scenario& s) {
       s.setup = {"mkdir -p /var/vdl", "echo placed > /var/vdl/x"};
     },
     "cat /var/vdl/x", "placed\n", 0},
};

INSTANTIATE_TEST_SUITE_P(Rig, ProbeTest, ::testing::ValuesIn(kProbes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Rig, LogAndReadBackFilesComeOut) {
  e2e::Scenario s = ShellScenario(
      "mkdir -p /var/vdl && printf 'logged' > /var/vdl/Component.log && printf 'xml' > out.xml");
  s.read_back = {"out.xml", "missing.xml"};
  E2E_RUN(o, s);
  EXPECT_TRUE(o.log_exists);
  EXPECT_EQ(o.log, "logged");
  EXPECT_EQ(o.files.at("out.xml"), "xml");
  EXPECT_EQ(o.files.count("missing.xml"), 0u);
}

// The probe runs after the program, in the same namespace; a FIFO at the log
// path is not read back (that would wait).
TEST(Rig, ProbeSeesWhatTheProgramLeft) {
  e2e::Scenario s = ShellScenario("mkdir -p /var/vdl && mkfifo /var/vdl/Component.log && echo left > /run/x");
  s.probe = "cat /run/x; stat -c %F /var/vdl/Component.log";
  E2E_RUN(o, s);
  EXPECT_EQ(o.probe, "left\nfifo\n");
  EXPECT_FALSE(o.log_exists);
}

// A scenario whose own setup fails is the test's failure, not a skip.
TEST(Rig, FailedSetupFailsTheTest) {
  E2E_RUN(available, ShellScenario("true"));
  e2e::Scenario s = ShellScenario("true");
  s.setup = {"false"};
  EXPECT_NONFATAL_FAILURE(e2e::Run(s), "setup failed: false");
}

// Another user holds its lock for as long as the program runs.
TEST(Rig, OtherUserHoldsItsLockWhileTheProgramRuns) {
  E2E_REQUIRE_NAMESPACE();
  E2E_REQUIRE_OTHER_USERS();
  e2e::Scenario s = ShellScenario(
      "flock -n /var/held true || echo held; stat -c %u /var/held");
  s.setup = {": > /var/held && chown 65534 /var/held"};
  s.held_by_other_user = "/var/held";
  s.probe = "flock -n /var/held true && echo free";
  E2E_RUN(o, s);
  EXPECT_EQ(o.out, "held\n65534\n");
  EXPECT_EQ(o.probe, "free\n");
}

TEST(Rig, NoLogWhenTheProgramMakesNone) {
  E2E_RUN(o, ShellScenario("true"));
  EXPECT_FALSE(o.log_exists);
}

TEST(Rig, FakeSysTreeIsBoundOnSys) {
  test_support::ScratchDir sys("/tmp", "fchba-sys-");
  ASSERT_TRUE(sys.ok());
  std::filesystem::create_directories(sys.path() + "/bus/pci/devices/0000:05:00.0");
  std::ofstream(sys.path() + "/bus/pci/devices/0000:05:00.0/vendor") << "0x1f3a\n";
  e2e::Scenario s = ShellScenario("cat /sys/bus/pci/devices/*/vendor");
  s.sys_tree = sys.path();
  E2E_RUN(o, s);
  EXPECT_EQ(o.out, "0x1f3a\n");
}

TEST(Rig, HostPathsStayUntouched) {
  const char* const kMarkers[] = {"/etc/fchba-rig-marker", "/var/vdl/fchba-rig-marker",
                                  "/usr/lib/fchba-rig-marker", "/usr/lib64/fchba-rig-marker",
                                  "/run/fchba-rig-marker"};
  e2e::Scenario s = ShellScenario(
      "mkdir -p /var/vdl && for f in /etc /var/vdl /usr/lib /usr/lib64 /run; do "
      "touch $f/fchba-rig-marker || exit 1; done; rm -f /etc/hostname");
  s.root_files = {{"/usr/lib/x", ""}, {"/usr/lib64/x", ""}};
  const bool had_hostname = std::filesystem::exists("/etc/hostname");
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 0) << o.err;
  for (const char* marker : kMarkers) EXPECT_FALSE(std::filesystem::exists(marker)) << marker;
  EXPECT_EQ(std::filesystem::exists("/etc/hostname"), had_hostname);
  EXPECT_FALSE(std::filesystem::exists("/usr/lib/x"));
}

// Names that would reach the host's own files are refused before anything
// runs.
TEST(Rig, PathsThatEscapeAreRefused) {
  E2E_RUN(available, ShellScenario("true"));
  struct Misuse {
    std::function<void(e2e::Scenario&)> setup;
    const char* message;
  };
  const Misuse kMisuses[] = {
      {[](e2e::Scenario& s) {
         s.work_files = {{"/tmp/fchba-rig-escape", "x"}};
       },
       "leaves the working dir"},
      {[](e2e::Scenario& s) {
         s.work_files = {{"../fchba-rig-escape", "x"}};
       },
       "leaves the working dir"},
      {[](e2e::Scenario& s) { s.read_back = {"a/../../fchba-rig-escape"}; },
       "leaves the working dir"},
      {[](e2e::Scenario& s) {
         s.work_files = {{"", "x"}};
       },
       "leaves the working dir"},
      {[](e2e::Scenario& s) {
         s.root_files = {{"/etc/../root/fchba-rig-escape", "x"}};
       },
       "root path"},
      {[](e2e::Scenario& s) {
         s.root_files = {{"/opt/fchba-rig-escape", "x"}};
       },
       "root path"},
      {[](e2e::Scenario& s) {
         s.root_files = {{"etc/x", "x"}};
       },
       "root path"},
      {[](e2e::Scenario& s) {
         s.root_files = {{"/sys/x", "x"}};
       },
       "root path"},
  };
  for (const Misuse& m : kMisuses) {
    e2e::Scenario s = ShellScenario("true");
    m.setup(s);
    EXPECT_NONFATAL_FAILURE(e2e::Run(s), m.message);
  }
  // A normal user may not look into /root, and cannot have written there.
  std::error_code unreadable;
  EXPECT_FALSE(std::filesystem::exists("/tmp/fchba-rig-escape"));
  EXPECT_FALSE(std::filesystem::exists("/root/fchba-rig-escape", unreadable));
}

// Overlayfs leaves its work directory with mode 000 in the scratch tree; as a
// normal user the tree must still go.
TEST(Rig, ScratchDirGoesWithAnUnreadableDirectoryInside) {
  std::string path;
  {
    test_support::ScratchDir scratch("/tmp", "fchba-scratch-");
    ASSERT_TRUE(scratch.ok());
    path = scratch.path();
    std::filesystem::create_directories(path + "/ov/wk/work");
    std::ofstream(path + "/ov/wk/file") << "x";
    ASSERT_EQ(::chmod((path + "/ov/wk/work").c_str(), 0), 0);
    ASSERT_EQ(::chmod((path + "/ov/wk").c_str(), 0), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

// Runs together share /var and, unless told to share one, have their own
// working directories; each keeps its own console and exit code.
TEST(Rig, RunsTogetherShareVar) {
  e2e::Scenario s = ShellScenario(
      "mkdir -p /var/vdl && echo run >> /var/vdl/Component.log && echo $$ | tee mine && "
      "exit $(ls | wc -l)");
  s.read_back = {"mine"};
  for (const bool sameDir : {true, false}) {
    const std::vector<e2e::Outcome> runs = e2e::RunTogether(s, 3, sameDir);
    E2E_SKIP_IF_SKIPPED(runs.front());
    ASSERT_EQ(runs.size(), 3u);
    for (const e2e::Outcome& run : runs) {
      EXPECT_EQ(run.log, "run\nrun\nrun\n");
      EXPECT_EQ(run.var_vdl, "Component.log\n");
      EXPECT_EQ(run.exit_code, 1);  // "mine" alone in the working directory
      if (!sameDir) {
        EXPECT_EQ(run.out, run.files.at("mine"));
      }
    }
    EXPECT_NE(runs[0].out, runs[1].out);
  }
}

TEST(Rig, ProgramTimeIsMeasured) {
  E2E_RUN(o, ShellScenario("sleep 0.2"));
  EXPECT_GE(o.seconds, 0.15);
  EXPECT_LT(o.seconds, 30.0);
}

// A program that hangs is killed with everything it started, and the test
// that ran it fails instead of hanging the suite.
TEST(Rig, HungProgramIsKilledAtTheTimeLimit) {
  E2E_RUN(available, ShellScenario("true"));
  e2e::Scenario s = ShellScenario("sleep 30 & sleep 30");
  s.timeout_seconds = 1;
  e2e::Outcome o;
  EXPECT_NONFATAL_FAILURE(o = e2e::Run(s), "longer than 1 s");
  EXPECT_TRUE(o.timed_out);
}

}  // namespace
