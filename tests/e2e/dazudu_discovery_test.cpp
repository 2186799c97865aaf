// Dazudu discovery through the real executable: each case's engine query
// output against the shared reference file, checked by the self-discovery
// file byte for byte.
#include "tests/e2e/dazudu_cases.h"

namespace {

using dazudu_cases::CaseFile;
using dazudu_cases::Discovered;
using test_support::Transcript;

class DazuduDiscoveryCase : public ::testing::TestWithParam<const char*> {};

TEST_P(DazuduDiscoveryCase, WritesTheExpectedSelfDiscoveryFile) {
  const std::string name = GetParam();
  const std::string query = CaseFile(name, "query.txt");
  const std::string expected = CaseFile(name, "expected.xml");
  ASSERT_FALSE(query.empty()) << name;
  ASSERT_FALSE(expected.empty()) << name;

  e2e::Scenario s = dazudu_cases::KitScenario(query);
  s.args = {"/d", "out.xml"};
  s.read_back = {"out.xml", e2e::DazuduKit().CallsLog()};
  E2E_RUN(o, s);

  EXPECT_EQ(o.exit_code, 3) << o.err;
  const Transcript t = Discovered().SelfDiscovery();
  EXPECT_EQ(o.out, t.Console());
  EXPECT_EQ(o.log, t.Log());
  EXPECT_EQ(dazudu_cases::FileOf(o, "out.xml"), expected);
  EXPECT_EQ(dazudu_cases::FileOf(o, e2e::DazuduKit().CallsLog()), "/q /fc\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, DazuduDiscoveryCase,
                         ::testing::Values("no_match", "id_padding", "dze160_fixed_version",
                                           "dze3x0_fixed_versions", "dze120_split", "dze110_split",
                                           "dce_whole_groups", "dot_removal",
                                           "dots_kept_bios_flag_zero", "same_key_twice",
                                           "unknown_key_skipped", "short_groups"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

// Without a kit the engine never answers: the preparation line still reads
// "done" and no hardware is recorded.
struct MissingKitRun {
  const char* name;
  std::vector<std::string> args;
  Transcript transcript;
};

void PrintTo(const MissingKitRun& run, std::ostream* os) { *os << run.name; }

class DazuduMissingKit : public ::testing::TestWithParam<MissingKitRun> {};

TEST_P(DazuduMissingKit, FindsNoHardware) {
  const MissingKitRun& run = GetParam();
  e2e::Scenario s;
  s.reference = dazudu_cases::Reference();
  s.args = run.args;
  s.read_back = {"out.xml"};
  E2E_RUN(o, s);

  EXPECT_EQ(o.exit_code, 3) << o.err;
  EXPECT_EQ(o.out, run.transcript.Console());
  EXPECT_EQ(o.log, run.transcript.Log());
  if (run.args.size() == 2) {
    EXPECT_EQ(dazudu_cases::FileOf(o, "out.xml"), CaseFile("no_match", "expected.xml"));
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, DazuduMissingKit,
                         ::testing::Values(
                             MissingKitRun{
                                 "SelfDiscovery", {"/d", "out.xml"}, Discovered().SelfDiscovery()},
                             MissingKitRun{"Update", {}, Discovered().NothingDone()},
                             MissingKitRun{"ForcedUpdate", {"/f"}, Discovered().NoHardware()}),
                         [](const ::testing::TestParamInfo<MissingKitRun>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
