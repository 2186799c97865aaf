// The discovery route over the adapter inventory and the device keys it
// builds from the records' PCI ids.
#include <gtest/gtest.h>

#include <string>

#include "component/base_cmp.h"
#include "tests/component/vendor_test_support.h"
#include "tests/support/transcript.h"

namespace {

using vendortest::AddRecord;
using vendortest::AddReference;
using vendortest::Record;

// A component whose vendor hook only counts its calls.
class CountingComponent : public CBaseCmp {
 public:
  void DiscoverVendorDevices() override { ++hookCalls; }
  int hookCalls = 0;
};

class InventoryDiscoveryTest : public vendortest::ScratchTest {};

struct KeyRow {
  const char* name;
  const char* pciIds;
  const char* subsystemIds;
  std::wstring key;
};

void PrintTo(const KeyRow& row, std::ostream* os) { *os << row.name; }

class DeviceKeyTest : public vendortest::ScratchTest,
                      public ::testing::WithParamInterface<KeyRow> {};

TEST_P(DeviceKeyTest, BuildsDottedGroups) {
  CBaseCmp component;
  AddRecord(component, {"00000000", "00000000"});  // index 0: a different record
  AddRecord(component, {GetParam().pciIds, GetParam().subsystemIds});
  EXPECT_EQ(component.BuildDeviceKey(1), GetParam().key);
}

const KeyRow kKeyRows[] = {
    {"FullRecord", "1f3a4b21", "1f3a015d", L"1f3a.4b21.1f3a.015d"},
    {"LetterCaseKept", "1F3A4B21", "1f3a015D", L"1F3A.4B21.1f3a.015D"},
    {"PciIdsNotAvailable", "N/A", "1f3a015d", L"1f3a.015d"},
    {"PciIdsNotAvailableLowerCase", "n/a", "1f3a015d", L"1f3a.015d"},
    {"PciIdsNotAvailableMixedCase", "N/a", "1f3a015d", L"1f3a.015d"},
    {"BothNotAvailable", "N/A", "n/A", L""},
    {"FourCharacters", "abcd", "N/A", L"abcd"},
    {"FiveCharacters", "abcde", "N/A", L"abcd.e"},
    {"EightCharactersEmptySubsystem", "1f3a4b21", "", L"1f3a.4b21"},
    {"BothEmpty", "", "", L""},
    {"HighBytesWidenSigned", "\xe9\xff", "",
     std::wstring{static_cast<wchar_t>(-23), static_cast<wchar_t>(-1)}},
};

INSTANTIATE_TEST_SUITE_P(Keys, DeviceKeyTest, ::testing::ValuesIn(kKeyRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InventoryDiscoveryTest, KeyLengthsAreNineteenNineAndZero) {
  CBaseCmp component;
  AddRecord(component, {"1f3a4b21", "1f3a015d"});
  AddRecord(component, {"N/A", "1f3a015d"});
  AddRecord(component, {"N/A", "N/A"});
  EXPECT_EQ(component.BuildDeviceKey(0).size(), 19u);
  EXPECT_EQ(component.BuildDeviceKey(1).size(), 9u);
  EXPECT_EQ(component.BuildDeviceKey(2).size(), 0u);
}

TEST_F(InventoryDiscoveryTest, IndexOutsideTheInventoryGivesEmptyKey) {
  CBaseCmp component;
  AddRecord(component, {"1f3a4b21", "1f3a015d"});
  EXPECT_EQ(component.BuildDeviceKey(-1), L"");
  EXPECT_EQ(component.BuildDeviceKey(1), L"");
  EXPECT_EQ(component.BuildDeviceKey(0x7fffffff), L"");
}

TEST_F(InventoryDiscoveryTest, EmptyInventoryWarnsAndFails) {
  CountingComponent component;
  component.log.SetQuiet(true);
  AddReference(component, L"1f3a.4b21.1f3a.015d", L"ZV-2400", L"1.0");
  component.discovery.type = L"before";
  component.discovery.alt_name = L"alt";

  EXPECT_FALSE(component.Discover());
  EXPECT_EQ(Log(), test_support::Transcript().NoAdapters().Log());
  EXPECT_EQ(component.hookCalls, 0);
  EXPECT_EQ(component.discovery.type, L"before");
  EXPECT_EQ(component.discovery.alt_name, L"alt");
}

TEST_F(InventoryDiscoveryTest, AdaptersFillTheHeadAndCallTheHookOnce) {
  CountingComponent component;
  component.log.SetQuiet(true);
  AddRecord(component, {"1f3a4b21", "1f3a015d"});
  AddReference(component, L"aaaa.bbbb.cccc.dddd", L"ZV-2400", L"1.0");
  component.reference.devices[0].type = L"FC-HBA";
  AddReference(component, L"1f3a.4b21.1f3a.015d", L"ZV-2410", L"1.0");
  component.discovery.alt_name = L"alt";
  component.discovery.version = L"9";
  component.discovery.takes_effect = L"now";

  EXPECT_TRUE(component.Discover());
  EXPECT_EQ(component.hookCalls, 1);
  EXPECT_EQ(component.discovery.type, L"FC-HBA");
  EXPECT_EQ(component.discovery.alt_name, L"");
  EXPECT_EQ(component.discovery.version, L"");
  EXPECT_EQ(component.discovery.takes_effect, L"");
  EXPECT_EQ(Log(), "");
}

TEST_F(InventoryDiscoveryTest, EmptyReferenceListGivesEmptyType) {
  CountingComponent component;
  AddRecord(component, {"1f3a4b21", "1f3a015d"});
  component.discovery.type = L"before";
  EXPECT_TRUE(component.Discover());
  EXPECT_EQ(component.discovery.type, L"");
}

TEST_F(InventoryDiscoveryTest, BaseHookAddsNoDevice) {
  CBaseCmp component;
  AddRecord(component, {"1f3a4b21", "1f3a015d"});
  AddReference(component, L"1f3a.4b21.1f3a.015d", L"ZV-2400", L"1.0");
  EXPECT_TRUE(component.Discover());
  EXPECT_TRUE(component.discovery.devices.empty());
}

}  // namespace
