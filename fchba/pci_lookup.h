// Finds an adapter's PCI vendor and device ids in sysfs from its PCI location
// and subsystem ids, through find, cat, grep and wc pipelines.
#ifndef FCHBA_PCI_LOOKUP_H
#define FCHBA_PCI_LOOKUP_H

#include <cstdint>
#include <string>

// "%.4x%.4x" of the vendor and device ids, or "N/A" when no device matches.
std::string LookupPciVendorDevice(uint8_t domain, uint8_t bus, uint8_t function,
                                  uint32_t subsystemVendor, uint32_t subsystemDevice);

// The command lines of the lookup.
std::string PciCandidatesCommand(uint8_t domain, uint8_t bus, uint8_t function);
std::string PciSubsystemMatchCommand(const std::string& directory, uint32_t subsystemVendor,
                                     uint32_t subsystemDevice);
std::string PciVendorDeviceCommand(const std::string& directory);

#endif
