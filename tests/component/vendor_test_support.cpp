#include "tests/component/vendor_test_support.h"

namespace vendortest {

void AddRecord(CBaseCmp& component, const Record& r) {
  FcHbaInfo* info = new FcHbaInfo();
  FcHbaSetField(info->PciIds, r.pciIds);
  FcHbaSetField(info->SubsystemIds, r.subsystemIds);
  FcHbaSetField(info->PortWwn, r.portWwn);
  FcHbaSetField(info->OptionRomVersion, r.optionRom);
  component.inventory.Append(info);
}

void AddReference(CBaseCmp& component, const std::wstring& deviceId, const std::wstring& model,
                  const std::wstring& version, const std::wstring& duration) {
  RefDevice device;
  device.type = L"FC";
  device.device_id = deviceId;
  device.model = model;
  device.bios = version;
  device.boot = version;
  device.duration = duration;
  component.reference.devices.push_back(device);
}

void ExpectDevices(const std::vector<DeviceInfo>& devices, const std::wstring& itemType,
                   const std::vector<ExpectedDevice>& expected) {
  ASSERT_EQ(devices.size(), expected.size());
  for (std::size_t i = 0; i < devices.size(); ++i) {
    SCOPED_TRACE(i);
    const DeviceInfo& d = devices[i];
    EXPECT_EQ(d.device_id, expected[i].deviceId);
    EXPECT_EQ(d.product_id, expected[i].productId);
    EXPECT_EQ(d.busnumber + d.funcnumber + d.reserved, L"");
    ASSERT_EQ(d.items.size(), 1u);
    const FwItem& item = d.items[0];
    EXPECT_EQ(item.type, itemType);
    EXPECT_EQ(item.firmware_id, L"");
    EXPECT_EQ(item.version, expected[i].version);
    EXPECT_EQ(item.active_version, expected[i].active);
    EXPECT_EQ(item.action, expected[i].action);
    EXPECT_EQ(item.duration, expected[i].duration);
    EXPECT_EQ(item.message, L"");
    EXPECT_EQ(item.shared, L"no");
  }
}

}  // namespace vendortest
