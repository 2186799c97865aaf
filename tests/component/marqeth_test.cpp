// The Marqeth component: the boot BIOS item from the option ROM version, the
// version normaliser, the update run and the kernel release check.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/utsname.h>

#include <cstring>
#include <string>
#include <vector>

#include "component/vendors/marqeth.h"
#include "tests/component/vendor_test_support.h"
#include "tests/support/transcript.h"

namespace {

using test_support::Transcript;
using vendortest::AddRecord;
using vendortest::AddReference;

class MarqethTest : public vendortest::ScratchTest {
 protected:
  void SetUp() override {
    vendortest::ScratchTest::SetUp();
    component_.reset(new MarqethComp::CComponent());
    component_->log.SetQuiet(true);
  }
  void TearDown() override {
    component_.reset();
    vendortest::ScratchTest::TearDown();
  }

  std::unique_ptr<MarqethComp::CComponent> component_;
};

TEST_F(MarqethTest, NormalizeVersionTakesTheLastFourPartNumber) {
  const std::pair<std::wstring, std::wstring> kRows[] = {
      {L"BIOS 2.1.0.3", L"2.1.0.3"},
      {L"Version 3.0.3.0 build 5", L"3.0.3.0"},
      {L"10.2.3.4", L"0.2.3.4"},
      {L"1.2.3.4.5", L"2.3.4.5"},
      {L"3.0.3", L"3.0.3"},
      {L"", L""},
      {L"1.2.3.4\nnext line", L"1.2.3.4"},
      {L"1.2.3.4 and 5.6.7.8", L"5.6.7.8"},
  };
  for (const auto& row : kRows) EXPECT_EQ(component_->NormalizeVersion(row.first), row.second);
}

TEST_F(MarqethTest, EveryReferencedRecordGetsOneBootBiosItem) {
  AddReference(*component_, L"1f3a.4b21.1f3a.015d", L"MQ-8200", L"2.1.0.3", L"60");
  AddReference(*component_, L"1f3a.4b21.1f3a.0160", L"MQ-8210", L"2.1.0.3");
  AddReference(*component_, L"1f3a.0170", L"MQ-8220", L"1.0.0.0");
  AddRecord(*component_, {"1F3A4B21", "1F3A015D", "", "BIOS 2.1.0.3"});
  AddRecord(*component_, {"1f3a4b21", "1f3a0160", "", "Version 2.0.9.9 build 7"});
  AddRecord(*component_, {"N/A", "1f3a0160", "", "2.2.0.0"});  // short key: no containment
  AddRecord(*component_, {"N/A", "1f3a0170", "", ""});
  AddRecord(*component_, {"9999aaaa", "1f3a015d", "", "2.1.0.3"});  // unreferenced

  ASSERT_TRUE(component_->Discover());
  vendortest::ExpectDevices(
      component_->discovery.devices, L"Boot BIOS ROM",
      {
          {L"1F3A.4B21.1F3A.015D", L"MQ-8200", L"2.1.0.3", L"2.1.0.3", L"rewrite", L"60"},
          {L"1f3a.4b21.1f3a.0160", L"MQ-8210", L"2.1.0.3", L"2.0.9.9", L"upgrade", L"120"},
          {L"1f3a.0170", L"MQ-8220", L"1.0.0.0", L"", L"upgrade", L"120"},
      });
  EXPECT_EQ(Log(), "");
}

TEST_F(MarqethTest, NewerInstalledBootCodeIsADowngrade) {
  AddReference(*component_, L"1f3a.4b21.1f3a.015d", L"MQ-8200", L"2.1.0.3");
  AddRecord(*component_, {"1f3a4b21", "1f3a015d", "", "2.1.0.10"});
  ASSERT_TRUE(component_->Discover());
  ASSERT_EQ(component_->discovery.devices.size(), 1u);
  EXPECT_EQ(component_->discovery.devices[0].items[0].action, L"downgrade");
}

// A subclass's normaliser is the one discovery uses.
class MarkingComponent : public MarqethComp::CComponent {
 public:
  std::wstring NormalizeVersion(std::wstring version) override { return L"<" + version + L">"; }
};

TEST_F(MarqethTest, DiscoveryNormalizesThroughTheVirtualTable) {
  MarkingComponent component;
  component.log.SetQuiet(true);
  AddReference(component, L"1f3a.4b21.1f3a.015d", L"MQ-8200", L"2.1.0.3");
  AddRecord(component, {"1f3a4b21", "1f3a015d", "", "BIOS 2.1.0.3"});
  ASSERT_TRUE(component.Discover());
  ASSERT_EQ(component.discovery.devices.size(), 1u);
  EXPECT_EQ(component.discovery.devices[0].items[0].active_version, L"<BIOS 2.1.0.3>");
}

// A lookup that answers an index beyond the reference list yields no device.
class StrayLookupComponent : public MarqethComp::CComponent {
 public:
  uint32_t FindReferenceDevice(std::wstring) override { return 5; }
};

TEST_F(MarqethTest, LookupBeyondTheReferenceListYieldsNoDevice) {
  StrayLookupComponent component;
  component.log.SetQuiet(true);
  AddReference(component, L"1f3a.4b21.1f3a.015d", L"MQ-8200", L"2.1.0.3");
  AddRecord(component, {"1f3a4b21", "1f3a015d", "", "2.1.0.3"});
  ASSERT_TRUE(component.Discover());
  EXPECT_TRUE(component.discovery.devices.empty());
}

// ---- Flash ----

// What the stand-in utility writes when it applies the image.
const std::string kUtilityOutput =
    "mqu_bootupdate: applying mqa_boot_fw\n"
    "mqu_bootupdate: progress on stderr\n"
    "mqu_bootupdate: progress on fd 3\n";

TEST_F(MarqethTest, FlashLogsTheCommandAndRunsItRedirected) {
  // Written without execute permission: the flash makes it executable.
  WriteFile("mqu_bootupdate",
            test_support::ReadFile(vendortest::FixturePath("marqeth/mqu_bootupdate")), 0600);
  WriteFile("mqa_boot_fw", "image");
  WriteFile("update_rc", "0");
  component_->silent = true;  // the options change nothing
  component_->force = true;

  EXPECT_EQ(component_->Flash(), 1);
  EXPECT_EQ(Log(),
            Transcript().Engine(test_support::marqeth::kFlashCommand, kUtilityOutput, 0).Log());
  EXPECT_EQ(test_support::ReadFile("calls.txt"), "boot --update mqa_boot_fw -a\n");
  struct stat st;
  ASSERT_EQ(stat("mqu_bootupdate", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0777u);
}

TEST_F(MarqethTest, FlashFailsOnEveryNonZeroStatus) {
  WriteFile("mqu_bootupdate",
            test_support::ReadFile(vendortest::FixturePath("marqeth/mqu_bootupdate")), 0755);
  WriteFile("mqa_boot_fw", "image");
  const std::pair<int, int> kRows[] = {{0, 1}, {1, 7}, {3, 7}, {15, 7}, {255, 7}};
  for (const auto& row : kRows) {
    WriteFile("update_rc", std::to_string(row.first));
    EXPECT_EQ(component_->Flash(), row.second) << "engine code " << row.first;
  }
}

TEST_F(MarqethTest, FlashWithoutTheUtilityFails) {
  EXPECT_EQ(component_->Flash(), 7);
  EXPECT_NE(Log().find(Transcript().EngineEnds(127).Log()), std::string::npos);
}

// ---- Kernel release check ----

std::string gRelease;

int FakeUname(struct utsname* name) {
  std::memset(name, 0, sizeof *name);
  std::strncpy(name->release, gRelease.c_str(), sizeof name->release - 1);
  return 0;
}

int FailingUname(struct utsname*) { return -1; }

TEST_F(MarqethTest, KernelReleasesFrom2_6_32On) {
  const std::pair<const char*, bool> kRows[] = {
      {"2.6.32-5-amd64", true}, {"2.6.33", true},
      {"2.7.0", true},          {"3.0.13-0.27-default", true},
      {"6.1.0-18-amd64", true}, {"2.6.31.14", false},
      {"2.4.21", false},        {"1.9.9", false},
      {"2.5.99", false},
  };
  for (const auto& row : kRows) {
    gRelease = row.first;
    EXPECT_EQ(component_->CheckKernelVersion(&FakeUname), row.second) << row.first;
  }
}

TEST_F(MarqethTest, KernelCheckLogsTheThreeNumbers) {
  gRelease = "2.6.32-5-amd64";
  EXPECT_TRUE(component_->CheckKernelVersion(&FakeUname));
  EXPECT_EQ(Log(), "Kernel : 2  major : 6  minor : 32\n");
}

TEST_F(MarqethTest, KernelReleaseWithoutThreeNumbers) {
  gRelease = "2.6";
  EXPECT_FALSE(component_->CheckKernelVersion(&FakeUname));
  EXPECT_EQ(Log(), "uname -r: 2.6 is not in a proper format.\n");
}

TEST_F(MarqethTest, UnameFailure) {
  EXPECT_FALSE(component_->CheckKernelVersion(&FailingUname));
  EXPECT_EQ(Log(), "Failed to read kernel version.\n");
}

TEST_F(MarqethTest, RunningKernelIsRead) {
  component_->CheckKernelVersion();
  EXPECT_EQ(Log().rfind("Kernel : ", 0), 0u) << Log();
}

}  // namespace
