#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <string>

#include "fchba/fc_hba_inventory.h"
#include "tests/fchba/scratch_root.h"

namespace {

using FakeHba::Library;

using FcHbaInventoryTest = ScratchRoot;

TEST_F(FcHbaInventoryTest, NewRecordAndInventoryAreEmpty) {
  const FcHbaInfo record;
  const char* fields[] = {
      record.NodeWwn,       record.PortWwn, record.PciIds,          record.SubsystemIds,
      record.DriverVersion, record.Unused6, record.FirmwareVersion, record.OptionRomVersion,
      record.Unused9,       record.Model};
  for (const char* field : fields) EXPECT_STREQ(field, "");
  const FcHbaInventory inventory;
  EXPECT_EQ(inventory.Count(), 0u);
}

TEST_F(FcHbaInventoryTest, WithoutRegistryTheScanAddsNothing) {
  FcHbaInventory inventory;
  EXPECT_EQ(inventory.Collect(), 1u);
  EXPECT_EQ(inventory.Count(), 0u);
}

TEST_F(FcHbaInventoryTest, RecordsCarryTheAdaptersTextsAndPciIds) {
  Library library = AdapterLibrary(2);
  library.adapters[1].ports.clear();
  library.adapters[1].subsystemVendor = 0x1a2b;
  library.adapters[1].subsystemDevice = 0x3c4d;
  library.adapters[1].vendorId = 0x1234;
  library.adapters[1].deviceId = 0x5678;
  FakeHba::BuildInstallation(root_, library);

  FcHbaInventory inventory;
  testing::internal::CaptureStdout();
  EXPECT_EQ(inventory.Collect(), 1u);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_EQ(inventory.Count(), 2u);
  const FcHbaInfo& first = *inventory.At(0);
  EXPECT_STREQ(first.NodeWwn, "20:00:00:00:C9:00:00:01");
  EXPECT_STREQ(first.PortWwn, "21:00:00:00:C9:00:00:01");
  EXPECT_STREQ(first.PciIds, "10772532");
  EXPECT_STREQ(first.SubsystemIds, "1077015c");
  EXPECT_STREQ(first.DriverVersion, "8.03.07");
  EXPECT_STREQ(first.FirmwareVersion, "5.06.03");
  EXPECT_STREQ(first.OptionRomVersion, "2.02");
  EXPECT_STREQ(first.Model, "ZV-2562");
  EXPECT_STREQ(first.Unused6, "");
  EXPECT_STREQ(first.Unused9, "");
  const FcHbaInfo& second = *inventory.At(1);
  EXPECT_STREQ(second.NodeWwn, "20:00:00:00:C9:00:00:02");
  EXPECT_STREQ(second.PortWwn, "");
  EXPECT_STREQ(second.PciIds, "12345678");
  EXPECT_STREQ(second.SubsystemIds, "1a2b3c4d");
  EXPECT_EQ(inventory.At(2), nullptr);
}

TEST_F(FcHbaInventoryTest, LibrariesStayLoadedAfterTheScanUntilTheInventoryGoes) {
  const std::string path = FakeHba::BuildInstallation(root_, AdapterLibrary(2));
  {
    FcHbaInventory inventory;
    inventory.Collect();
    ASSERT_EQ(inventory.Count(), 2u);
    EXPECT_TRUE(LibraryLoaded());
    EXPECT_EQ(CallLog(path).find("FreeLibrary"), std::string::npos) << CallLog(path);
  }
  EXPECT_FALSE(LibraryLoaded());
  const std::string log = CallLog(path);
  EXPECT_EQ(log.find("FreeLibrary"), log.size() - std::string("FreeLibrary\n").size()) << log;
}

TEST_F(FcHbaInventoryTest, FailedAdapterStillGivesARecordAfterTheStatusLine) {
  Library library = AdapterLibrary(2);
  library.adapters[0].extra = {"attr_status=1"};
  FakeHba::BuildInstallation(root_, library);
  FcHbaInventory inventory;
  testing::internal::CaptureStdout();
  inventory.Collect();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "MRA get returned failed status!\n");
  ASSERT_EQ(inventory.Count(), 2u);
  const FcHbaInfo& failed = *inventory.At(0);
  EXPECT_STREQ(failed.NodeWwn, "00:00:00:00:00:00:00:00");
  EXPECT_STREQ(failed.PortWwn, "");
  EXPECT_STREQ(failed.Model, "Undefined");
  EXPECT_STREQ(failed.FirmwareVersion, "Undefined");
  EXPECT_STREQ(failed.SubsystemIds, "00000000");
  EXPECT_STREQ(failed.PciIds, "N/A");
  EXPECT_STREQ(inventory.At(1)->PciIds, "10772532");
}

TEST_F(FcHbaInventoryTest, WithoutVendorDataTheSubsystemIdsComeFromVendorSpecificId) {
  Library library = AdapterLibrary(1);
  library.adapters[0].extra = {"vendor_id=0x3c4d1a2b"};
  const std::string path = Install("/opt/fake/libother.so", library);
  WriteConf("other\t" + path + "\n");
  FcHbaInventory inventory;
  inventory.Collect();
  ASSERT_EQ(inventory.Count(), 1u);
  EXPECT_STREQ(inventory.At(0)->SubsystemIds, "1a2b3c4d");
  EXPECT_STREQ(inventory.At(0)->PciIds, "N/A");
}

TEST_F(FcHbaInventoryTest, TwoScansAppendInOrder) {
  FakeHba::BuildInstallation(root_, AdapterLibrary(2));
  FcHbaInventory inventory;
  inventory.Collect();
  inventory.Collect();
  ASSERT_EQ(inventory.Count(), 4u);
  const char* expected[] = {"20:00:00:00:C9:00:00:01", "20:00:00:00:C9:00:00:02",
                            "20:00:00:00:C9:00:00:01", "20:00:00:00:C9:00:00:02"};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_STREQ(inventory.At(i)->NodeWwn, expected[i]);
  EXPECT_STREQ(inventory.At(3)->PciIds, "10772532");
}

TEST_F(FcHbaInventoryTest, ScanOf64AdaptersIsQuick) {
  FakeHba::BuildInstallation(root_, AdapterLibrary(64));
  FcHbaInventory inventory;
  const auto start = std::chrono::steady_clock::now();
  inventory.Collect();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "scan of 64 adapters: " << seconds << " s\n";
  RecordProperty("scan_seconds", std::to_string(seconds));
  ASSERT_EQ(inventory.Count(), 64u);
  EXPECT_STREQ(inventory.At(63)->NodeWwn, "20:00:00:00:C9:00:00:40");
  EXPECT_STREQ(inventory.At(63)->PciIds, "10772532");
  EXPECT_LT(seconds, 10.0);
}

}  // namespace

namespace {

struct VendorCase {
  const char* prefix;
  const char* libraryFile;
};

void PrintTo(const VendorCase& c, std::ostream* out) { *out << c.libraryFile; }

class VendorInstallationTest : public ScratchRoot,
                               public ::testing::WithParamInterface<VendorCase> {};

TEST_P(VendorInstallationTest, EachVendorsLibraryServesItsOwnAdapters) {
  Library library = AdapterLibrary(2, GetParam().prefix);
  library.adapters[1].subsystemDevice = 0x0abc;
  FakeHba::BuildInstallation(root_, library, GetParam().libraryFile);
  FcHbaInventory inventory;
  inventory.Collect();
  ASSERT_EQ(inventory.Count(), 2u);
  EXPECT_STREQ(inventory.At(0)->PciIds, "10772532");
  EXPECT_STREQ(inventory.At(1)->SubsystemIds, "10770abc");
  EXPECT_STREQ(inventory.At(1)->PciIds, "10772532");
}

INSTANTIATE_TEST_SUITE_P(Vendors, VendorInstallationTest,
                         ::testing::Values(VendorCase{"zelvok-", "libzvsdm.so"},
                                           VendorCase{"Dazudu-", "libdzsdm.so"},
                                           VendorCase{"LPe-", "mqhbaapi.so"}),
                         [](const auto& info) {
                           return std::string(info.param.libraryFile).substr(0, 8);
                         });

}  // namespace
