#include "base_cmp.h"

// Discovery through the adapter inventory: collects the adapters and hands
// them to the vendor hook.
bool CBaseCmp::Discover() {
  inventory.Collect();
  if (inventory.Count() == 0) {
    log << "WARNING! : No supported adapters found.\n";
    return false;
  }
  DiscoverVendorDevices();
  return true;
}

void CBaseCmp::DiscoverVendorDevices() {}

std::wstring CBaseCmp::BuildDeviceKey(int32_t index) {
  (void)index;
  return std::wstring();
}
