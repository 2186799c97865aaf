// The real executable end to end, on paths that need no adapter: command
// line, reference loading, the log, silent mode, the self-discovery file and
// the run's verdicts when nothing was discovered.
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/process.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/transcript.h"

namespace {

using test_support::Transcript;

const std::string kUsage = Transcript().Usage().Console();
const std::string kParseError = Transcript().ParseError().Console();

const Transcript kBegun = Transcript().Begin();
const std::string kLoadFailed = Transcript(kBegun).LoadFailed().Console();
const Transcript kDiscovered = Transcript(kBegun).Loaded().DazuduKit();
const std::string kNotice = Transcript(kDiscovered).NothingDone().Console();
const std::string kNoHardware = Transcript(kDiscovered).NoHardware().Console();
const std::string kSelfDiscovery = Transcript(kDiscovered).SelfDiscovery().Console();
const std::string kSelfDiscoveryFailed = Transcript(kDiscovered).SelfDiscovery(false).Console();

const std::string kNoDevicesXml =
    "<?xml version=\"1.0\"?>\n"
    "<qv_rom_discovery version=\"2.0.0.0\">\n"
    "  <type value=\"\"/>\n"
    "  <alt_name value=\"\"/>\n"
    "  <version value=\"\"/>\n"
    "  <takes_effect value=\"\"/>\n"
    "  <devices/>\n"
    "</qv_rom_discovery>\n";

const char* const kNoFile = "<absent>";

struct Row {
  const char* name;
  std::vector<std::string> args;
  const char* reference;  // nullptr: no reference.xml
  std::string out;        // exact standard output
  std::string log;        // exact log file
  int exit_code;
  const char* file = nullptr;       // working-dir file to check
  std::string file_content = "";    // its content, or kNoFile
  bool log_dir_unwritable = false;  // then no log file is expected
};

void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }

const Row kRows[] = {
    // Command line.
    {"Help", {"/h"}, e2e::kEmptyReference, kUsage, "", 3},
    {"HelpDash", {"-h"}, e2e::kEmptyReference, kUsage, "", 3},
    {"HelpAfterOptionsEndsParsing", {"/s", "/f", "/h", "/d"}, e2e::kEmptyReference, kUsage, "", 3},
    {"DiscoveryWithoutPath", {"/d"}, e2e::kEmptyReference, kParseError, "", 7},
    {"DiscoveryWithoutPathSilent", {"/s", "-d"}, e2e::kEmptyReference, kParseError, "", 7},
    {"UpperCaseWordsIgnored", {"/S", "/H", "/D"}, nullptr, kLoadFailed, kLoadFailed, 7},
    // Reference file.
    {"NoArgumentsNoReference", {}, nullptr, kLoadFailed, kLoadFailed, 7},
    {"MalformedReference", {}, "<trovex_fchba_reference><devices>", kLoadFailed, kLoadFailed, 7},
    {"EmptyReferenceFile", {}, "", kLoadFailed, kLoadFailed, 7},
    // Verdicts with no discovered device.
    {"NothingToDo", {}, e2e::kEmptyReference, kNotice, kNotice, 3},
    {"ForceSlashF", {"/f"}, e2e::kEmptyReference, kNoHardware, kNoHardware, 3},
    {"ForceDashF", {"-f"}, e2e::kEmptyReference, kNoHardware, kNoHardware, 3},
    {"ForceSlashE", {"/e"}, e2e::kEmptyReference, kNoHardware, kNoHardware, 3},
    {"ForceDashE", {"-e"}, e2e::kEmptyReference, kNoHardware, kNoHardware, 3},
    {"ForceSlashG", {"/g"}, e2e::kEmptyReference, kNoHardware, kNoHardware, 3},
    {"ForceDashG", {"-g"}, e2e::kEmptyReference, kNoHardware, kNoHardware, 3},
    // Silent mode: a clean console, a complete log.
    {"SilentNothingToDo", {"/s"}, e2e::kEmptyReference, "", kNotice, 3},
    {"SilentForced", {"-s", "-e"}, e2e::kEmptyReference, "", kNoHardware, 3},
    {"SilentNoReference", {"/s"}, nullptr, "", kLoadFailed, 7},
    // Self-discovery file.
    {"SelfDiscovery",
     {"/d", "out.xml"},
     e2e::kEmptyReference,
     kSelfDiscovery,
     kSelfDiscovery,
     3,
     "out.xml",
     kNoDevicesXml},
    {"SelfDiscoverySilentAfterPath",
     {"/d", "out.xml", "/s"},
     e2e::kEmptyReference,
     "",
     kSelfDiscovery,
     3,
     "out.xml",
     kNoDevicesXml},
    {"SelfDiscoveryPathLooksLikeOption",
     {"-d", "-s"},
     e2e::kEmptyReference,
     kSelfDiscovery,
     kSelfDiscovery,
     3,
     "-s",
     kNoDevicesXml},
    {"SelfDiscoveryLaterPathWins",
     {"/d", "a.xml", "/d", "b.xml"},
     e2e::kEmptyReference,
     kSelfDiscovery,
     kSelfDiscovery,
     3,
     "b.xml",
     kNoDevicesXml},
    {"SelfDiscoveryEarlierPathUnused",
     {"/d", "a.xml", "/d", "b.xml"},
     e2e::kEmptyReference,
     kSelfDiscovery,
     kSelfDiscovery,
     3,
     "a.xml",
     kNoFile},
    // A file that cannot be written is reported, and the run still ends with 3.
    {"SelfDiscoveryUnwritablePathFails",
     {"/d", "no/such/dir/out.xml"},
     e2e::kEmptyReference,
     kSelfDiscoveryFailed,
     kSelfDiscoveryFailed,
     3,
     "no/such/dir/out.xml",
     kNoFile},
    {"SelfDiscoveryWithoutReference",
     {"/d", "out.xml"},
     nullptr,
     kLoadFailed,
     kLoadFailed,
     7,
     "out.xml",
     kNoFile},
    // Log directory that cannot be made: an error line per piece, also when
    // silent; the console echo is unchanged.
    {"UnwritableLog",
     {},
     nullptr,
     Transcript(kBegun).LoadFailed().ConsoleWithoutLog(),
     "",
     7,
     nullptr,
     "",
     true},
    {"UnwritableLogSilent",
     {"/s"},
     nullptr,
     Transcript(kBegun).LoadFailed().ConsoleWithoutLog(true),
     "",
     7,
     nullptr,
     "",
     true},
    {"UnwritableLogHelpWritesNoPiece", {"/h"}, nullptr, kUsage, "", 3, nullptr, "", true},
};

class RunSequenceTest : public ::testing::TestWithParam<Row> {};

TEST_P(RunSequenceTest, TranscriptLogAndExitCode) {
  const Row& r = GetParam();
  e2e::Scenario s;
  s.args = r.args;
  if (r.reference) s.reference = r.reference;
  s.log_dir_unwritable = r.log_dir_unwritable;
  if (r.file) s.read_back = {r.file};
  E2E_RUN(o, s);

  EXPECT_EQ(o.exit_code, r.exit_code) << o.err;
  EXPECT_EQ(o.out, r.out);
  if (r.log_dir_unwritable) {
    EXPECT_FALSE(o.log_exists);
  } else {
    EXPECT_TRUE(o.log_exists);
    EXPECT_EQ(o.log, r.log);
  }
  if (r.file) {
    const auto it = o.files.find(r.file);
    if (r.file_content == kNoFile)
      EXPECT_TRUE(it == o.files.end()) << r.file << " was written";
    else if (it == o.files.end())
      ADD_FAILURE() << r.file << " was not written";
    else
      EXPECT_EQ(it->second, r.file_content);
  }
}

INSTANTIATE_TEST_SUITE_P(RealExecutable, RunSequenceTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A reference file that is not well formed gets the XML library's own
// diagnostics on standard error, never on standard output.
TEST(RealExecutable, MalformedReferenceDiagnosticsOnStderr) {
  e2e::Scenario s;
  s.reference = "<trovex_fchba_reference><devices>";
  E2E_RUN(o, s);
  EXPECT_EQ(o.out, kLoadFailed);
  EXPECT_NE(o.err, "");
}

// The log is appended to, never replaced.
TEST(RealExecutable, LogKeepsEarlierRuns) {
  e2e::Scenario s;
  s.reference = e2e::kEmptyReference;
  s.root_files = {{"/var/vdl/Component.log", "earlier run\n"}};
  E2E_RUN(o, s);
  EXPECT_EQ(o.log, "earlier run\n" + kNotice);
}

// The XML library reads a gzip-compressed reference file transparently.
TEST(RealExecutable, CompressedReferenceIsRead) {
  test_support::ScratchDir dir("/tmp", "fchba-gz-");
  ASSERT_TRUE(dir.ok());
  const std::string plain = dir.path() + "/reference.xml";
  std::ofstream(plain) << e2e::kEmptyReference;
  const e2e::ProcessResult gz = e2e::RunProcess({"gzip", "-n", plain}, "", 30);
  ASSERT_EQ(gz.exit_code, 0) << gz.output;
  e2e::Scenario s;
  s.copy_into_work = {{plain + ".gz", "reference.xml"}};
  E2E_RUN(o, s);
  EXPECT_EQ(o.out, kNotice);
  EXPECT_EQ(o.exit_code, 3);
}

}  // namespace
