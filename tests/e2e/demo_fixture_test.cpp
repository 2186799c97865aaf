// The demo's kit and reference file through the real executable: two adapters
// discovered, the first one an upgrade, so the update run flashes. demo.sh
// shows exactly these runs.
#include <string>

#include "tests/e2e/dazudu_cases.h"
#include "tests/support/files.h"

namespace {

using dazudu_cases::Discovered;

std::string DemoFile(const std::string& name) {
  return test_support::ReadFile(e2e::DazuduFixtureDir() + "/demo/" + name);
}

e2e::Scenario DemoScenario() {
  e2e::Scenario s;
  s.reference = DemoFile("reference.xml");
  e2e::DazuduKit kit;
  kit.query_output = DemoFile("query.txt");
  kit.update_rc = std::stoi(DemoFile("update_rc"));
  kit.AddTo(s);
  return s;
}

TEST(DemoFixture, SelfDiscoveryFindsBothAdapters) {
  e2e::Scenario s = DemoScenario();
  s.args = {"/d", "discovery.xml"};
  s.read_back = {"discovery.xml"};
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 3) << o.err;
  EXPECT_EQ(o.out, Discovered().SelfDiscovery().Console());
  ASSERT_EQ(o.files.count("discovery.xml"), 1u);
  EXPECT_EQ(o.files.at("discovery.xml"), DemoFile("expected.xml"));
}

TEST(DemoFixture, UpdateRunFlashesAndLogsTheEngine) {
  e2e::Scenario s = DemoScenario();
  E2E_RUN(o, s);
  const test_support::Transcript flash = dazudu_cases::Flashing("/update", 0)
                                             .Result(test_support::dazudu::kAllSuccessful)
                                             .FlashComplete(1);
  EXPECT_EQ(o.exit_code, 1) << o.err;
  EXPECT_EQ(o.out, flash.Console());
  EXPECT_EQ(o.log, flash.Log());
}

}  // namespace
