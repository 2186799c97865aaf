// The demo's kit and reference file through the real executable: two adapters
// discovered, the first one an upgrade, so the update run flashes. demo.sh
// shows exactly these runs.
#include <string>

#include "tests/e2e/harness.h"
#include "tests/support/files.h"

namespace {

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

const std::string kHead = std::string(51, '-') +
                          "\n"
                          "Loading references...done.\n"
                          "Performing discovery...\n"
                          "Preparing the Dazudu Kit...done\n";

TEST(DemoFixture, SelfDiscoveryFindsBothAdapters) {
  e2e::Scenario s = DemoScenario();
  s.args = {"/d", "discovery.xml"};
  s.read_back = {"discovery.xml"};
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 3) << o.err;
  EXPECT_EQ(o.out, kHead + "Generating self-discovery XML...done.\n");
  ASSERT_EQ(o.files.count("discovery.xml"), 1u);
  EXPECT_EQ(o.files.at("discovery.xml"), DemoFile("expected.xml"));
}

TEST(DemoFixture, UpdateRunFlashesAndLogsTheEngine) {
  e2e::Scenario s = DemoScenario();
  E2E_RUN(o, s);
  const std::string log =
      " 1>> /var/vdl/Component.log 2>> /var/vdl/Component.log 3>> /var/vdl/Component.log";
  const std::string before =
      kHead +
      "Performing flash -- DO NOT INTERRUPT!\n"
      "Executing flash engine: ./dzflashStandalone*/lx/dzflash.sh /fc  /update" +
      log + "\n";
  const std::string after =
      "Flash Engine exit code: 0\n"
      "All updates were successful.  Reboot needed.\n"
      "Flash complete [1]\n";
  const std::string engine =
      "dzflash: flashing adapters (/fc /update)\n"
      "dzflash: progress report on standard error\n"
      "dzflash: status report on descriptor 3\n"
      "dzflash: finished with status 0\n";
  EXPECT_EQ(o.exit_code, 1) << o.err;
  EXPECT_EQ(o.out, before + after);
  EXPECT_EQ(o.log, before + engine + after);
}

}  // namespace
