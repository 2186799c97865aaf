// Tests that end each in one way, for required_skips_test to run with and
// without FCHBA_E2E_REQUIRED. Not a suite of its own: ctest never runs it.
#include <gtest/gtest.h>

namespace {

TEST(Probe, Passes) {}

TEST(Probe, Skips) { GTEST_SKIP() << "a reason of the test's own"; }

class ProbeFixture : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_SKIP() << "skipped in SetUp"; }
};

TEST_F(ProbeFixture, SkipsInSetUp) {}

}  // namespace
