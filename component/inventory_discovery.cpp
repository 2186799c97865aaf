// The discovery route over the adapter inventory: collect the adapter
// records, fill the head of the discovery data, then let the vendor hook turn
// the records into devices. Device keys are built from a record's PCI ids.
#include <strings.h>

#include <string>

#include "component/base_cmp.h"
#include "component/text_convert.h"

bool CBaseCmp::Discover() {
  inventory.Collect();
  if (inventory.Count() == 0) {
    log << std::string("WARNING! : No supported adapters found.\n");
    return false;
  }
  discovery.type = reference.devices.empty() ? std::wstring() : reference.devices[0].type;
  discovery.alt_name = std::wstring();
  discovery.version = std::wstring();
  discovery.takes_effect = std::wstring();
  DiscoverVendorDevices();
  return true;
}

void CBaseCmp::DiscoverVendorDevices() {}

std::wstring CBaseCmp::BuildDeviceKey(int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= inventory.Count()) return std::wstring();
  const FcHbaInfo* record = inventory.At(static_cast<std::size_t>(index));

  std::string text;
  if (strcasecmp(record->PciIds, "N/A") != 0) text = record->PciIds;
  if (strcasecmp(record->SubsystemIds, "N/A") != 0) text += record->SubsystemIds;
  for (std::size_t pos = 4; pos < text.size(); pos += 5) text.insert(pos, 1, '.');
  return WidenBytes(text);
}
