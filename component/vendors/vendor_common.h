// What the vendor components share: the reference lookup of a device key, and
// for the inventory-based components (Zelvok, Marqeth) the device record with
// its one firmware item.
#ifndef COMPONENT_VENDORS_VENDOR_COMMON_H
#define COMPONENT_VENDORS_VENDOR_COMMON_H

#include <cstddef>
#include <string>

#include "component/records.h"

class CBaseCmp;

// The reference device that the component's FindReferenceDevice (called
// through the virtual table) gives for key; nullptr when there is none. The
// index is read as a signed 32-bit value, so the not-found value 0xFFFFFFFF is
// negative; an index past the reference list is taken as not found too,
// rather than read out of bounds.
const RefDevice* ReferenceDeviceFor(CBaseCmp& component, const std::wstring& key);

// The reference device of inventory record index, looked up by the record's
// device key (returned in key); nullptr when there is none.
const RefDevice* ReferenceForRecord(CBaseCmp& component, std::size_t index, std::wstring& key);

// A discovered device with one firmware item. The item's action comes from
// comparing the carried version with the installed one; message is empty and
// shared is "no".
DeviceInfo MakeVendorDevice(const std::wstring& deviceId, const std::wstring& productId,
                            const std::wstring& itemType, const std::wstring& version,
                            const std::wstring& activeVersion, const std::wstring& duration);

#endif
