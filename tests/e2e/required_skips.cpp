// Where FCHBA_E2E_REQUIRED is set, an end-to-end test that skips fails,
// whatever made it skip: a refused namespace, refused mounts, or a
// GTEST_SKIP() of the test's own. Every end-to-end suite links this file
// (add_e2e_test); its listener is installed before main runs.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/private_namespace.h"

namespace e2e {
namespace {

// The skip's own message, so that the failure still says why it skipped.
std::string SkipMessage(const ::testing::TestResult& result) {
  for (int i = 0; i < result.total_part_count(); ++i) {
    const ::testing::TestPartResult& part = result.GetTestPartResult(i);
    if (part.skipped()) return part.message();
  }
  return "";
}

// Turns a skipped test into a failed one. A listener may add failures when a
// test ends (not while a result is reported); this one runs before the
// console printer does, so the test is printed FAILED and no "[  SKIPPED ]"
// line is left for ctest to take as a skip.
class FailSkipsWhenRequired : public ::testing::EmptyTestEventListener {
 public:
  void OnTestEnd(const ::testing::TestInfo& test) override {
    const ::testing::TestResult& result = *test.result();
    if (!result.Skipped() || !NamespaceRequired()) return;
    ADD_FAILURE() << "E2E NOT RUN although FCHBA_E2E_REQUIRED is set: the test skipped ("
                  << SkipMessage(result) << ")";
  }
};

const bool kInstalled = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new FailSkipsWhenRequired);
  return true;
}();

}  // namespace
}  // namespace e2e
