// What the inventory-based vendor components (Zelvok, Marqeth) share: the
// device record with its one firmware item, and the run of a flash utility.
#ifndef COMPONENT_VENDORS_VENDOR_COMMON_H
#define COMPONENT_VENDORS_VENDOR_COMMON_H

#include <cstddef>
#include <string>

#include "component/logger.h"
#include "component/records.h"

class CBaseCmp;

// The reference device of inventory record index, looked up by the record's
// device key (returned in key) through the component's FindReferenceDevice;
// nullptr when there is none.
const RefDevice* ReferenceForRecord(CBaseCmp& component, std::size_t index, std::wstring& key);

// A discovered device with one firmware item. The item's action comes from
// comparing the carried version with the installed one; message is empty and
// shared is "no".
DeviceInfo MakeVendorDevice(const std::wstring& deviceId, const std::wstring& productId,
                            const std::wstring& itemType, const std::wstring& version,
                            const std::wstring& activeVersion, const std::wstring& duration);

// Logs "Executing flash engine: " and the command, makes the utility
// executable with chmodCommand, runs the command with its streams 1, 2 and 3
// appended to the component log file, logs "Flash Engine exit code: " and
// returns that code: the shell's exit status (0 to 255), or 128 plus the
// signal number when the shell itself was killed.
int RunFlashUtility(CLogger& log, const std::string& command, const char* chmodCommand);

#endif
