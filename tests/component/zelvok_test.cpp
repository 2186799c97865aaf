// The Zelvok component: the utility's query output, the pairing of adapter
// instances with inventory records, the reference lookup with its
// containment fallback, the version normaliser and the update run.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/component/vendor_test_support.h"
#include "tests/support/transcript.h"
#include "component/vendors/zelvok.h"

namespace {

using test_support::Transcript;
using vendortest::AddRecord;
using vendortest::AddReference;
using ZelvokComp::QueryTables;

// ---- Query output ----

struct Entry {
  int instance;
  std::wstring version;
  std::string port;
};

struct QueryRow {
  const char* name;
  std::string output;
  int count;
  std::vector<Entry> entries;  // every other table entry stays empty
};

void PrintTo(const QueryRow& row, std::ostream* os) { *os << row.name; }

// Five lines for one instance, the way the utility prints it.
std::string Instance(int n, const std::string& image, const std::string& port) {
  return "HBA Instance : " + std::to_string(n) + "\nFlash Image Version : " + image +
         "\nPort Name : " + port + "\nModel : ZV-2400\n\n";
}

std::string ManyInstances(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += Instance(i, "1." + std::to_string(i), "21-" + std::to_string(i));
  return text;
}

class QueryOutputTest : public ::testing::TestWithParam<QueryRow> {};

TEST_P(QueryOutputTest, FillsTheTables) {
  const QueryRow& row = GetParam();
  const QueryTables tables = ZelvokComp::ParseQueryOutput(row.output);
  EXPECT_EQ(tables.instanceCount, row.count);
  for (int k = 0; k < QueryTables::kInstances; ++k) {
    Entry expected{k, L"", ""};
    for (const Entry& e : row.entries) {
      if (e.instance == k) expected = e;
    }
    EXPECT_EQ(tables.versions[k], expected.version) << "instance " << k;
    EXPECT_EQ(tables.portNames[k], expected.port) << "instance " << k;
  }
}

const QueryRow kQueryRows[] = {
    {"OneInstance",
     Instance(0, "1.08", "21-00-00-aa-bb-0a-4b-7c"),
     1,
     {{0, L"1.08", "21:00:00:aa:bb:0a:4b:7c"}}},
    {"InstanceNumberPicksTheEntry", Instance(3, "2.10", "21-00"), 1, {{3, L"2.10", "21:00"}}},
    {"NothingAfterTheColonDoesNotMatch",
     "HBA Instance : 0\nFlash Image : \nPort Name : \n\n\n",
     1,
     {}},
    {"ValueAfterTheLastColon",
     "HBA Instance : 0\nFlash Image : a: b\nPort Name : x: 21-00\n\n\n",
     1,
     {{0, L"b", "21:00"}}},
    {"EmptyLastColonFallsBackToEarlierOne",
     "HBA Instance : 0\nFlash Image : 1.0: \n\n\n\n",
     1,
     {{0, L"1.0: ", ""}}},
    {"NoBlankBeforeTheColon",
     "HBA Instance: 1\nFlash Image: 3.1\nPort Name: 21-01\n\n\n",
     1,
     {{1, L"3.1", "21:01"}}},
    {"CarriageReturnStaysInTheValue",
     "HBA Instance : 0\r\nFlash Image : 1.08\r\nPort Name : 21-00\r\n\r\n\r\n",
     1,
     {{0, L"1.08\r", "21:00\r"}}},
    {"TenLinesTwoInstances",
     Instance(0, "1.0", "21-00") + Instance(1, "1.1", "21-01"),
     2,
     {{0, L"1.0", "21:00"}, {1, L"1.1", "21:01"}}},
    {"FourteenLinesStillTwo",
     Instance(0, "1.0", "21-00") + Instance(1, "1.1", "21-01") + "a\nb\nc\nd\n",
     2,
     {{0, L"1.0", "21:00"}, {1, L"1.1", "21:01"}}},
    {"FinalLineWithoutLineEndCounts",
     "HBA Instance : 0\nFlash Image : 1\n\n\nlast",
     1,
     {{0, L"1", ""}}},
    {"EmptyLinesCount", "\n\n\n\n\n", 1, {}},
    {"EmptyOutput", "", 0, {}},
    {"ShellFailure", "ERROR", 0, {}},
    {"LaterLineForTheSameInstanceWins",
     "HBA Instance : 0\nFlash Image : 1\nFlash Image : 2\nPort Name : a-b\nPort Name : c-d\n",
     1,
     {{0, L"2", "c:d"}}},
    {"LabelMustStartTheLine",
     "HBA Instance : 0\n  Flash Image : 1.0\n Port Name : 21-00\n\n\n",
     1,
     {}},
    {"InstanceValueAfterTheLastColon",
     "HBA Instance : 0 Port : 5\nFlash Image : 1.0\n\n\n\n",
     1,
     {{5, L"1.0", ""}}},
    {"NonNumericInstanceReadsAsZero",
     "HBA Instance : abc\nFlash Image : 1.5\n\n\n\n",
     1,
     {{0, L"1.5", ""}}},
    // Lines that name no valid instance are ignored: the tables hold 64.
    {"LinesBeforeTheFirstInstanceIgnored",
     "Flash Image : 9.9\nPort Name : 11-22\nHBA Instance : 1\nFlash Image : 1.0\n\n",
     1,
     {{1, L"1.0", ""}}},
    {"InstanceSixtyFourIgnored",
     "HBA Instance : 64\nFlash Image : 1\nPort Name : 21-00\n\n\n",
     1,
     {}},
    {"NegativeInstanceIgnored",
     "HBA Instance : -1\nFlash Image : 1\nPort Name : 21-00\n\n\n",
     1,
     {}},
    {"HugeInstanceIgnored",
     "HBA Instance : 99999999999999999999\nFlash Image : 1\nPort Name : 21-00\n\n\n",
     1,
     {}},
    {"ValidInstanceAfterAnInvalidOne",
     "HBA Instance : 70\nFlash Image : 1\nHBA Instance : 63\nFlash Image : 2\n\n",
     1,
     {{63, L"2", ""}}},
};

INSTANTIATE_TEST_SUITE_P(Lines, QueryOutputTest, ::testing::ValuesIn(kQueryRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QueryOutput, SeventyInstancesFillSixtyFourEntries) {
  const QueryTables tables = ZelvokComp::ParseQueryOutput(ManyInstances(70));
  EXPECT_EQ(tables.instanceCount, 64);
  EXPECT_EQ(tables.versions[63], L"1.63");
  EXPECT_EQ(tables.portNames[63], "21:63");
}

TEST(QueryOutput, HostileOutputStaysInsideTheTables) {
  std::string output;
  for (int i = 0; i < 10000; ++i) output += "HBA Instance : " + std::to_string(i % 100) + "\n";
  output += "Flash Image : " + std::string(1 << 20, 'x') + "\n";
  output += std::string("Port Name : 21-\0-00\x80\xff\r\n", 24);
  output += "HBA Instance : 7\nFlash Image : \xe9\x80.1\n";
  const QueryTables tables = ZelvokComp::ParseQueryOutput(output);
  EXPECT_EQ(tables.instanceCount, 64);
  // The last instance of the loop (99) lies outside the tables: its lines are dropped.
  for (int k = 0; k < QueryTables::kInstances; ++k) {
    EXPECT_EQ(tables.portNames[k], "") << k;
    if (k != 7) {
      EXPECT_EQ(tables.versions[k], L"") << k;
    }
  }
}

// ---- Exit codes ----

TEST(ZelvokExitCodes, EveryEngineCode) {
  struct Range {
    int first, last, exitCode;  // exitCode -1: the engine code itself
  };
  const Range kRanges[] = {{0, 0, 1},   {1, 1, 3},    {2, 10, 7},  {11, 13, -1},
                           {14, 14, 7}, {15, 15, 15}, {16, 17, 7}, {18, 255, -1}};
  for (const Range& r : kRanges) {
    for (int code = r.first; code <= r.last; ++code) {
      EXPECT_EQ(ZelvokComp::ExitCodeForEngineCode(code), r.exitCode < 0 ? code : r.exitCode)
          << "engine code " << code;
    }
  }
}

// ---- Version normaliser ----

class ZelvokNormalizeVersion : public vendortest::ScratchTest {};

TEST_F(ZelvokNormalizeVersion, CutsAtBlankThenDropsFirstPrefix) {
  const std::pair<std::wstring, std::wstring> kRows[] = {
      {L"v.1.02.03 (beta)", L"1.02.03"},
      {L"2.00 v.3", L"2.00"},
      {L"1.08", L"1.08"},
      {L"", L""},
      {L"v.v.1", L"v.1"},
      {L"Xv.1", L"X1"},
      {L" 1.0", L""},
  };
  ZelvokComp::CComponent component;
  component.log.SetQuiet(true);
  for (const auto& row : kRows) EXPECT_EQ(component.NormalizeVersion(row.first), row.second);
}

// ---- Reference lookup ----

struct LookupRow {
  const char* name;
  std::vector<std::wstring> deviceIds;
  std::wstring key;
  uint32_t index;
};

void PrintTo(const LookupRow& row, std::ostream* os) { *os << row.name; }

class ZelvokLookupTest : public vendortest::ScratchTest,
                         public ::testing::WithParamInterface<LookupRow> {};

TEST_P(ZelvokLookupTest, FindsTheReferenceDevice) {
  ZelvokComp::CComponent component;
  for (const std::wstring& id : GetParam().deviceIds) AddReference(component, id, L"m", L"1");
  CBaseCmp& base = component;  // through the virtual table, as discovery calls it
  EXPECT_EQ(base.FindReferenceDevice(GetParam().key), GetParam().index);
}

const uint32_t kNone = CBaseCmp::kNoReference;
const LookupRow kLookupRows[] = {
    {"ExactIgnoringCase", {L"1f3a.4b21.1f3a.015d"}, L"1F3A.4B21.1F3A.015D", 0},
    {"ShortKeyContainedIgnoringCase",
     {L"0000.0000.0000.0000", L"1f3a.4b21.1f3a.015D"},
     L"1f3a.015d",
     1},
    {"ExactBeatsEarlierContainment", {L"1f3a.4b21.1f3a.015d", L"1F3A.015D"}, L"1f3a.015d", 1},
    {"FirstContainingDeviceWins",
     {L"1f3a.015d.0000.0000", L"0000.0000.1f3a.015d"},
     L"1f3a.015d",
     0},
    {"NotContained", {L"1f3a.4b21.1f3a.015e"}, L"1f3a.015d", kNone},
    {"DeviceIdCutAtItsFirstNull", {std::wstring(L"1f3a\0.1f3a.015d", 15)}, L"1f3a.015d", kNone},
    {"EmptyReferenceList", {}, L"1f3a.015d", kNone},
    {"EmptyKeyContainedNowhere", {L"1f3a.4b21.1f3a.015d"}, L"", kNone},
    {"EmptyKeyFindsAnEmptyDeviceId", {L"1f3a.4b21.1f3a.015d", L""}, L"", 1},
};

INSTANTIATE_TEST_SUITE_P(Keys, ZelvokLookupTest, ::testing::ValuesIn(kLookupRows),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Discovery with a stand-in utility in the working directory ----

// What the stand-in utility writes in update mode, streams 1, 2 and 3.
const std::string kUtilityOutput =
    "qvzvfwupdate: updating adapters\n"
    "qvzvfwupdate: progress on stderr\n"
    "qvzvfwupdate: progress on fd 3\n";

class ZelvokDiscoveryTest : public vendortest::ScratchTest {
 protected:
  void SetUp() override {
    vendortest::ScratchTest::SetUp();
    component_.reset(new ZelvokComp::CComponent());
    component_->log.SetQuiet(true);
  }
  void TearDown() override {
    component_.reset();
    vendortest::ScratchTest::TearDown();
  }
  // The utility, written without execute permission: discovery makes it executable.
  void InstallUtility(const std::string& query) {
    WriteFile("qvzvfwupdate",
              test_support::ReadFile(vendortest::FixturePath("zelvok/qvzvfwupdate")), 0644);
    WriteFile("query.txt", query);
  }

  std::unique_ptr<ZelvokComp::CComponent> component_;
};

const std::string kPortA = "21:00:00:aa:bb:0a:4b:7c";

TEST_F(ZelvokDiscoveryTest, PairsRecordsWithInstancesByPortName) {
  InstallUtility(Instance(0, "1.00", "21-00-00-aa-bb-0a-4b-7c") +
                 Instance(1, "1.20", "21-00-00-aa-bb-0a-4b-7c") +
                 Instance(2, "1.30", "21-00-00-AA-BB-0A-4B-7D"));
  AddReference(*component_, L"1F3A.4B21.1F3A.015D", L"ZV-2400", L"1.20", L"90");
  AddReference(*component_, L"1f3a.4b21.1f3a.0160", L"ZV-2410", L"1.10");
  AddRecord(*component_, {"1f3a4b21", "1f3a015d", kPortA.c_str()});
  AddRecord(*component_, {"1f3a4b21", "1f3a0160", "21:00:00:aa:bb:0a:4b:7d"});  // case differs
  AddRecord(*component_, {"9999aaaa", "1f3a015d", kPortA.c_str()});             // unreferenced
  AddRecord(*component_, {"N/A", "1f3a0160", "21:00:00:00:00:00:00:01"});       // no instance

  ASSERT_TRUE(component_->Discover());
  vendortest::ExpectDevices(
      component_->discovery.devices, L"Multiboot Image",
      {
          {L"1F3A.4B21.1F3A.015D", L"ZV-2400", L"1.20", L"1.20", L"rewrite", L"90"},
          {L"1f3a.4b21.1f3a.0160", L"ZV-2410", L"1.10", L"", L"upgrade", L"120"},
          {L"1f3a.4b21.1f3a.0160", L"ZV-2410", L"1.10", L"", L"upgrade", L"120"},
      });
  EXPECT_EQ(test_support::ReadFile("calls.txt"), "/q\n");
  EXPECT_EQ(Log(), "");
}

TEST_F(ZelvokDiscoveryTest, InstancesBeyondTheCountedLinesAreNotPaired) {
  // Six lines: one instance counted, so instance 1 is never compared.
  InstallUtility("HBA Instance : 1\nFlash Image : 1.5\nPort Name : 21-00\n\n\n\n");
  AddReference(*component_, L"1f3a.4b21.1f3a.015d", L"ZV-2400", L"1.5");
  AddRecord(*component_, {"1f3a4b21", "1f3a015d", "21:00"});
  ASSERT_TRUE(component_->Discover());
  ASSERT_EQ(component_->discovery.devices.size(), 1u);
  EXPECT_EQ(component_->discovery.devices[0].items[0].active_version, L"");
}

TEST_F(ZelvokDiscoveryTest, DowngradeWhenTheInstalledImageIsNewer) {
  InstallUtility(Instance(0, "2.0", "21-00"));
  AddReference(*component_, L"1f3a.4b21.1f3a.015d", L"ZV-2400", L"1.5");
  AddRecord(*component_, {"1f3a4b21", "1f3a015d", "21:00"});
  ASSERT_TRUE(component_->Discover());
  ASSERT_EQ(component_->discovery.devices.size(), 1u);
  EXPECT_EQ(component_->discovery.devices[0].items[0].action, L"downgrade");
}

TEST_F(ZelvokDiscoveryTest, MissingUtilityStillYieldsReferencedDevices) {
  AddReference(*component_, L"1f3a.4b21.1f3a.015d", L"ZV-2400", L"1.5");
  AddRecord(*component_, {"1f3a4b21", "1f3a015d", "21:00"});
  ASSERT_TRUE(component_->Discover());
  ASSERT_EQ(component_->discovery.devices.size(), 1u);
  EXPECT_EQ(component_->discovery.devices[0].items[0].active_version, L"");
  EXPECT_EQ(component_->discovery.devices[0].items[0].action, L"upgrade");
}

// ---- Flash ----

struct FlashRow {
  bool silent;
  bool force;
  const char* command;
};

// Names the row by its command, so that the test's name is the same in every build.
void PrintTo(const FlashRow& row, std::ostream* os) { *os << row.command; }

class ZelvokFlashCommandTest : public ZelvokDiscoveryTest,
                               public ::testing::WithParamInterface<FlashRow> {};

TEST_P(ZelvokFlashCommandTest, LogsTheCommandAndRunsItRedirected) {
  InstallUtility("");
  WriteFile("update_rc", "0\n");
  component_->silent = GetParam().silent;
  component_->force = GetParam().force;

  EXPECT_EQ(component_->Flash(), 1);
  EXPECT_EQ(Log(), Transcript().Engine(GetParam().command, kUtilityOutput, 0).Log());
  const std::string args =
      std::string(GetParam().command).substr(std::string("./qvzvfwupdate").size());
  EXPECT_EQ(test_support::ReadFile("calls.txt"), (args.empty() ? "" : args.substr(1)) + "\n");
  struct stat st;
  ASSERT_EQ(stat("qvzvfwupdate", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
}

const FlashRow kFlashRows[] = {
    {false, false, "./qvzvfwupdate"},
    {true, false, "./qvzvfwupdate /s"},
    {false, true, "./qvzvfwupdate /f"},
    {true, true, "./qvzvfwupdate /s /f"},
};

INSTANTIATE_TEST_SUITE_P(Options, ZelvokFlashCommandTest, ::testing::ValuesIn(kFlashRows),
                         [](const auto& info) {
                           return std::string(info.param.silent ? "Silent" : "Loud") +
                                  (info.param.force ? "Forced" : "Unforced");
                         });

TEST_F(ZelvokDiscoveryTest, FlashMapsTheUtilityStatus) {
  InstallUtility("");
  const std::pair<int, int> kRows[] = {{0, 1},  {1, 3},   {2, 7},  {11, 11}, {13, 13},
                                       {14, 7}, {15, 15}, {16, 7}, {17, 7},  {255, 255}};
  for (const auto& row : kRows) {
    WriteFile("update_rc", std::to_string(row.first));
    EXPECT_EQ(component_->Flash(), row.second) << "engine code " << row.first;
  }
}

TEST_F(ZelvokDiscoveryTest, FlashWithoutTheUtilityPassesTheShellCodeOn) {
  EXPECT_EQ(component_->Flash(), 127);
  EXPECT_NE(Log().find(Transcript().EngineEnds(127).Log()), std::string::npos);
}

TEST_F(ZelvokDiscoveryTest, FlashKilledShellIsNoSuccess) {
  // The utility kills the shell that runs it: the shell's status carries the
  // signal, not an exit status of 0.
  // The guard keeps the test process itself safe should the shell ever exec
  // the utility in its place.
  WriteFile("qvzvfwupdate",
            "#!/bin/sh\n[ \"$PPID\" = " + std::to_string(getpid()) + " ] || kill -9 $PPID\n", 0755);
  EXPECT_EQ(component_->Flash(), 137);
  EXPECT_NE(Log().find(Transcript().EngineEnds(137).Log()), std::string::npos);
}

}  // namespace
