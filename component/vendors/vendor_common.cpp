#include "component/vendors/vendor_common.h"

#include <cstdint>

#include "component/base_cmp.h"

const RefDevice* ReferenceDeviceFor(CBaseCmp& component, const std::wstring& key) {
  const int32_t found = static_cast<int32_t>(component.FindReferenceDevice(key));
  if (found < 0 || static_cast<std::size_t>(found) >= component.reference.devices.size()) {
    return nullptr;
  }
  return &component.reference.devices[static_cast<std::size_t>(found)];
}

const RefDevice* ReferenceForRecord(CBaseCmp& component, std::size_t index, std::wstring& key) {
  key = component.BuildDeviceKey(static_cast<int32_t>(index));
  return ReferenceDeviceFor(component, key);
}

DeviceInfo MakeVendorDevice(const std::wstring& deviceId, const std::wstring& productId,
                            const std::wstring& itemType, const std::wstring& version,
                            const std::wstring& activeVersion, const std::wstring& duration) {
  FwItem item;
  item.type = itemType;
  item.version = version;
  item.active_version = activeVersion;
  item.action = CBaseCmp::ActionText(CBaseCmp::CompareVersions(version, activeVersion));
  item.duration = duration;
  item.shared = L"no";

  DeviceInfo device;
  device.device_id = deviceId;
  device.product_id = productId;
  device.items.push_back(item);
  return device;
}
