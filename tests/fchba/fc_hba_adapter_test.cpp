#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fchba/fc_hba_adapter.h"
#include "fchba/fc_hba_mra.h"
#include "tests/fchba/scratch_root.h"

namespace {

using FakeHba::Library;

class FcHbaAdapterTest : public ScratchRoot {
 protected:
  // Installs the library as the Zelvok one and loads it.
  std::string Load(const Library& library) {
    const std::string path = Install("/usr/lib/libzvsdm.so", library);
    WriteConf("zelvok\t" + path + "\n");
    EXPECT_EQ(HBA_LoadLibrary(), 0u);
    EXPECT_EQ(HBA_GetNumberOfAdapters(), library.adapters.size());
    return path;
  }

  // A refreshed adapter object for index; deleting it unloads the libraries.
  std::unique_ptr<FcHbaAdapter> Refreshed(HBA_UINT32 index, HBA_UINT32* status) {
    std::unique_ptr<FcHbaAdapter> adapter(new FcHbaAdapter());
    adapter->SetIndex(index);
    *status = adapter->Refresh();
    return adapter;
  }
};

TEST_F(FcHbaAdapterTest, RefreshCopiesAndCleansAttributes) {
  Library library = AdapterLibrary(1);
  library.adapters[0].nodeWwn = "0123456789abcdef";
  library.adapters[0].model = "Model  X  ";
  library.adapters[0].extra = {"manufacturer=ACME  Corp  ~~",
                               "serial=SN 1\\x01",
                               "model_desc=Dual   Port  ",
                               "hardware=HW\\x7f",
                               "firmware=5.06   ",
                               "optrom= ",
                               "symbolic=node  sym  ",
                               "driver_name=qla  ",
                               "vendor_id=0x3c4d1a2b"};
  library.adapters[0].driver = "8.03  ";
  Load(library);
  HBA_UINT32 status = 9;
  const auto adapter = Refreshed(0, &status);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(adapter->GetName(), "zelvok-0");
  EXPECT_EQ(adapter->GetManufacturer(), "ACME Corp");
  EXPECT_EQ(adapter->GetSerialNumber(), "SN 1");
  EXPECT_EQ(adapter->GetModelDescription(), "Dual Port");
  EXPECT_EQ(adapter->GetHardwareVersion(), "HW");
  EXPECT_EQ(adapter->GetFirmwareVersion(), "5.06");
  EXPECT_EQ(adapter->GetOptionRomVersion(), " ");
  // Model, NodeSymbolicName, DriverVersion and DriverName are not cleaned.
  EXPECT_EQ(adapter->GetModel(), "Model  X  ");
  EXPECT_EQ(adapter->GetNodeSymbolicName(), "node  sym  ");
  EXPECT_EQ(adapter->GetDriverVersion(), "8.03  ");
  EXPECT_EQ(adapter->GetDriverName(), "qla  ");
  EXPECT_EQ(adapter->GetNodeWwnText(), "01:23:45:67:89:AB:CD:EF");
  EXPECT_EQ(adapter->GetSubsystemIds(), 0x3c4d1a2bu);
  EXPECT_EQ(adapter->GetNumberOfPorts(), 1u);
  ASSERT_EQ(adapter->GetPorts().size(), 1u);
  EXPECT_EQ(adapter->GetPorts()[0].GetPortWwnText(), "21:00:00:00:C9:00:00:01");
}

TEST_F(FcHbaAdapterTest, FailingPortAmongThreeIsSkippedKeepingIndexes) {
  Library library = AdapterLibrary(1);
  library.adapters[0].ports.resize(3);
  library.adapters[0].ports[1].extra.push_back("attr_status=1");
  library.adapters[0].ports[2].extra.push_back("stats=7,8,9");
  Load(library);
  HBA_UINT32 status = 0;
  const auto adapter = Refreshed(0, &status);
  EXPECT_EQ(status, 1u);
  ASSERT_EQ(adapter->GetPorts().size(), 2u);
  EXPECT_EQ(adapter->GetPorts()[0].GetPortIndex(), 0u);
  EXPECT_EQ(adapter->GetPorts()[1].GetPortIndex(), 2u);
  EXPECT_EQ(adapter->GetPorts()[1].GetTxWords(), 9);
}

TEST_F(FcHbaAdapterTest, FailedStatisticsKeepThePortWithZeroCounters) {
  Library library = AdapterLibrary(1);
  library.adapters[0].ports[0].extra = {"stats=1,2,3", "stats_status=4"};
  Load(library);
  HBA_UINT32 status = 0;
  const auto adapter = Refreshed(0, &status);
  EXPECT_EQ(status, 1u);
  ASSERT_EQ(adapter->GetPorts().size(), 1u);
  EXPECT_EQ(adapter->GetPorts()[0].GetTxFrames(), 0);
}

TEST_F(FcHbaAdapterTest, FailedAttributeReadKeepsInitialValuesAndClosesTheHandle) {
  Library library = AdapterLibrary(1);
  library.adapters[0].extra = {"attr_status=1", "open=0x33"};
  const std::string path = Load(library);
  HBA_UINT32 status = 0;
  const auto adapter = Refreshed(0, &status);
  EXPECT_EQ(status, 1u);
  EXPECT_EQ(adapter->GetName(), "zelvok-0");
  EXPECT_EQ(adapter->GetModel(), "Undefined");
  EXPECT_EQ(adapter->GetFirmwareVersion(), "Undefined");
  EXPECT_EQ(adapter->GetNodeWwnText(), "00:00:00:00:00:00:00:00");
  EXPECT_EQ(adapter->GetNumberOfPorts(), 0u);
  EXPECT_TRUE(adapter->GetPorts().empty());
  EXPECT_NE(CallLog(path).find("CloseAdapter 51\n"), std::string::npos);
}

TEST_F(FcHbaAdapterTest, FailedOpenOrNameGivesStatusOne) {
  Library library = AdapterLibrary(1);
  library.adapters[0].extra = {"open=0"};
  Load(library);
  HBA_UINT32 status = 0;
  auto adapter = Refreshed(0, &status);
  EXPECT_EQ(status, 1u);
  EXPECT_EQ(adapter->GetName(), "zelvok-0");
  EXPECT_EQ(adapter->GetModel(), "Undefined");
  adapter = Refreshed(5, &status);
  EXPECT_EQ(status, 1u);
  EXPECT_EQ(adapter->GetName(), "Undefined");
}

TEST_F(FcHbaAdapterTest, UnterminatedVendorTextsStayInsideTheirFields) {
  Library library = AdapterLibrary(1);
  library.adapters[0].model = std::string(256, 'M');
  library.adapters[0].extra = {"manufacturer=" + std::string(64, 'A'),
                               "driver_name=" + std::string(256, 'D')};
  Load(library);
  HBA_UINT32 status = 0;
  const auto adapter = Refreshed(0, &status);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(adapter->GetModel(), std::string(255, 'M'));
  EXPECT_EQ(adapter->GetManufacturer(), std::string(63, 'A'));
  EXPECT_EQ(adapter->GetDriverName(), std::string(255, 'D'));
}

TEST_F(FcHbaAdapterTest, ImplausiblePortCountIsBounded) {
  Library library = AdapterLibrary(1);
  library.adapters[0].extra = {"ports=4000000000"};
  Load(library);
  HBA_UINT32 status = 0;
  const auto adapter = Refreshed(0, &status);
  EXPECT_EQ(status, 1u);
  EXPECT_EQ(adapter->GetPorts().size(), 1u);
}

TEST_F(FcHbaAdapterTest, DestroyingAnAdapterUnloadsEveryLibrary) {
  Load(AdapterLibrary(1));
  HBA_UINT32 status = 0;
  Refreshed(0, &status).reset();
  HBA_UINT32 library = 0;
  HBA_UINT32 vendor = 0;
  EXPECT_EQ(HbaDecodeHandle(0x1, &library, &vendor), HBA_STATUS_ERROR);
}

TEST_F(FcHbaAdapterTest, EnumeratorWithoutRegistryHasNoAdapters) {
  FcHbaMRA enumerator;
  EXPECT_EQ(enumerator.IsLoaded(), 0u);
  HBA_UINT32 status = 7;
  EXPECT_EQ(enumerator.GetFirstAdapter(&status), nullptr);
  EXPECT_EQ(status, 0u);
}

TEST_F(FcHbaAdapterTest, EnumeratorHandsOutEveryAdapterInOrder) {
  Library library = AdapterLibrary(3);
  library.adapters[1].extra = {"attr_status=1"};
  const std::string path = Install("/usr/lib/libzvsdm.so", library);
  WriteConf("zelvok\t" + path + "\n");
  FcHbaMRA enumerator;
  EXPECT_EQ(enumerator.IsLoaded(), 1u);
  ASSERT_EQ(enumerator.GetAdapterCount(), 3u);
  HBA_UINT32 statuses[3] = {};
  std::vector<std::unique_ptr<FcHbaAdapter>> adapters;
  HBA_UINT32 status = 0;
  for (FcHbaAdapter* a = enumerator.GetFirstAdapter(&status); a;
       a = enumerator.GetNextAdapter(a, &status)) {
    adapters.emplace_back(a);
    if (adapters.size() > 3) break;
    statuses[adapters.size() - 1] = status;
  }
  ASSERT_EQ(adapters.size(), 3u);
  for (HBA_UINT32 i = 0; i < 3; ++i) {
    EXPECT_EQ(adapters[i]->GetIndex(), i);
    EXPECT_EQ(adapters[i]->GetName(), "zelvok-" + std::to_string(i));
  }
  EXPECT_EQ(statuses[0], 0u);
  EXPECT_EQ(statuses[1], 1u);
  EXPECT_EQ(statuses[2], 0u);
  EXPECT_EQ(status, 0u);  // left as the last adapter gave it
}

}  // namespace
