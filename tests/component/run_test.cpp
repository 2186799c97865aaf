#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/base_cmp.h"
#include "tests/component/scratch.h"
#include "tests/support/transcript.h"

namespace {

using test_support::Transcript;

Transcript Loaded() { return Transcript().Begin().Loaded(); }
Transcript Flashed(int code) { return Loaded().FlashBegins().FlashComplete(code); }
const char kReference[] = "<trovex_fchba_reference/>";

// A component whose discovery and flash are scripted by the test.
class ScriptedComponent : public CBaseCmp {
 public:
  bool discoverResult = true;
  std::vector<std::vector<std::wstring>> deviceActions;  // one list of item actions per device
  int flashResult = 1;
  int flashCalls = 0;

  bool Discover() override {
    for (const auto& actions : deviceActions) {
      DeviceInfo device;
      device.device_id = L"1f3a.4b21.1f3a.015d";
      for (const std::wstring& action : actions) {
        FwItem item;
        item.action = action;
        device.items.push_back(item);
      }
      discovery.devices.push_back(device);
    }
    return discoverResult;
  }
  int Flash() override {
    ++flashCalls;
    return flashResult;
  }
};

struct RunRow {
  const char* name;
  bool reference;
  bool discoverResult;
  std::vector<const char*> args;
  std::vector<std::vector<std::wstring>> deviceActions;
  int flashResult;
  int exitCode;
  bool flashed;
  Transcript transcript;
};

void PrintTo(const RunRow& row, std::ostream* os) { *os << row.name; }

const RunRow kRows[] = {
    {"ReferenceMissing", false, true, {}, {}, 1, 7, false, Transcript().Begin().LoadFailed()},
    {"DiscoveryFails", true, false, {}, {{L"upgrade"}}, 1, 7, false, Loaded()},
    {"SelfDiscovery",
     true,
     true,
     {"/d", "out.xml"},
     {{L"upgrade"}},
     1,
     3,
     false,
     Loaded().SelfDiscovery()},
    {"SelfDiscoveryUnwritable",
     true,
     true,
     {"/d", "no/such/dir/out.xml"},
     {},
     1,
     3,
     false,
     Loaded().SelfDiscovery(false)},
    {"NoDevicesNoForce", true, true, {}, {}, 1, 3, false, Loaded().NothingDone()},
    {"NoDevicesForce", true, true, {"/f"}, {}, 1, 3, false, Loaded().NoHardware()},
    {"RewriteAndDowngradeNoForce",
     true,
     true,
     {},
     {{L"rewrite"}, {L"downgrade"}},
     1,
     3,
     false,
     Loaded().NothingDone()},
    {"RewriteForced", true, true, {"-g"}, {{L"rewrite"}}, 3, 3, true, Flashed(3)},
    {"OneUpgrade", true, true, {}, {{L"rewrite", L"upgrade"}}, 1, 1, true, Flashed(1)},
    {"PassThroughCode", true, true, {}, {{L"upgrade"}}, 200, 200, true, Flashed(200)},
    {"NegativeFlashResult", true, true, {}, {{L"upgrade"}}, -5, -5, true, Flashed(-5)},
    {"UnknownActionOnly",
     true,
     true,
     {},
     {{L"unknown", L"Upgrade"}},
     1,
     3,
     false,
     Loaded().NothingDone()},
};

class RunTest : public ::testing::TestWithParam<RunRow> {};

TEST_P(RunTest, ExitCodeAndTranscript) {
  const RunRow& row = GetParam();
  for (bool silent : {false, true}) {
    SCOPED_TRACE(silent ? "silent" : "console");
    Scratch scratch;
    if (row.reference) scratch.Write("reference.xml", kReference);
    ScriptedComponent component;
    component.discoverResult = row.discoverResult;
    component.deviceActions = row.deviceActions;
    component.flashResult = row.flashResult;
    std::vector<const char*> argv = {"prog"};
    argv.insert(argv.end(), row.args.begin(), row.args.end());
    if (silent) argv.push_back("/s");
    ASSERT_EQ(component.ParseCommandLine(static_cast<int>(argv.size()), argv.data()), 1);

    testing::internal::CaptureStdout();
    int exitCode = component.Run();
    std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(exitCode, row.exitCode);
    EXPECT_EQ(component.flashCalls, row.flashed ? 1 : 0);
    EXPECT_EQ(out, row.transcript.Console(silent));
    EXPECT_EQ(scratch.ReadLog(), row.transcript.Log());
  }
}

INSTANTIATE_TEST_SUITE_P(Branches, RunTest, ::testing::ValuesIn(kRows), RowName<RunRow>);

struct ActionRow {
  std::vector<std::vector<std::wstring>> deviceActions;
  int overall;
};

TEST(GetOverallActionTest, UpgradeOutranksDowngradeOutranksRewrite) {
  const ActionRow rows[] = {
      {{}, 0},
      {{{}}, 0},
      {{{L"rewrite"}}, 2},
      {{{L"rewrite"}, {L"downgrade"}}, 4},
      {{{L"downgrade", L"rewrite"}, {L"upgrade"}}, 1},
      {{{L"upgrade"}, {L"downgrade"}}, 1},
      {{{L"unknown", L"UPGRADE", L""}}, 0},
  };
  Scratch scratch;
  for (const ActionRow& row : rows) {
    ScriptedComponent component;
    component.deviceActions = row.deviceActions;
    component.Discover();
    EXPECT_EQ(component.GetOverallAction(), row.overall);
    EXPECT_EQ(component.HasDevices(), !row.deviceActions.empty());
  }
}

}  // namespace
