// With FCHBA_E2E_REQUIRED set, an end-to-end test that skips fails, whatever
// the cause; without it, the skip stays a skip. Runs the probe tests
// (required_skips_probe.cpp, linked with the listener like every end-to-end
// suite) in a real process and reads its exit code and console.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/process.h"

namespace {

struct ProbeCase {
  const char* test;      // the probe test to run
  const char* required;  // FCHBA_E2E_REQUIRED for it; nullptr: unset
  bool fails;
  const char* said;  // printed by the probe run
};

void PrintTo(const ProbeCase& c, std::ostream* os) {
  *os << c.test << " required=" << (c.required ? c.required : "(unset)");
}

class RequiredSkips : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(RequiredSkips, FailOnlyWhenRequired) {
  const ProbeCase& c = GetParam();
  std::vector<std::string> argv = {"env", "-u", "FCHBA_E2E_REQUIRED"};
  if (c.required) argv.push_back(std::string("FCHBA_E2E_REQUIRED=") + c.required);
  argv.insert(argv.end(), {REQUIRED_SKIPS_PROBE, std::string("--gtest_filter=") + c.test});
  const e2e::ProcessResult r = e2e::RunProcess(argv, "", 60);
  ASSERT_TRUE(r.started);
  EXPECT_EQ(r.exit_code, c.fails ? 1 : 0) << r.output;
  EXPECT_NE(r.output.find(c.said), std::string::npos) << r.output;
  if (c.fails) {
    EXPECT_NE(r.output.find(std::string("[  FAILED  ] ") + c.test), std::string::npos) << r.output;
    // ctest takes any "[  SKIPPED ]" line as a skip, even in a failed test's output.
    EXPECT_EQ(r.output.find("[  SKIPPED ]"), std::string::npos) << r.output;
  }
}

// "0" and the empty text mean not required, as they do for the namespace probe.
INSTANTIATE_TEST_SUITE_P(
    Probe, RequiredSkips,
    ::testing::Values(
        ProbeCase{"Probe.Skips", nullptr, false, "[  SKIPPED ] Probe.Skips"},
        ProbeCase{"Probe.Skips", "0", false, "[  SKIPPED ] Probe.Skips"},
        ProbeCase{"Probe.Skips", "", false, "[  SKIPPED ] Probe.Skips"},
        ProbeCase{"Probe.Passes", "1", false, "[  PASSED  ] 1 test."},
        ProbeCase{"Probe.Skips", "1", true,
                  "E2E NOT RUN although FCHBA_E2E_REQUIRED is set: the test skipped (a reason of "
                  "the test's own)"},
        ProbeCase{"ProbeFixture.SkipsInSetUp", "yes", true,
                  "the test skipped (skipped in SetUp)"}));

}  // namespace
