// Where an adapter sits on the PCI bus, from its vendor library's extended
// attributes: through the library that already serves the adapter, or
// through the vendor's library loaded by itself from its fixed paths and the
// adapter found there by node WWN.
#ifndef FCHBA_VENDOR_PCI_H
#define FCHBA_VENDOR_PCI_H

#include <cstddef>
#include <cstdint>

#include "fchba/hba_types.h"

constexpr std::size_t kVendorMessageSize = 256;
constexpr std::size_t kVendorNameBufferSize = 1024;

struct FcVendorLibrary {
  const char* word;          // what the serving library's path must contain
  const char* loadName;      // named in "unable to load ..."
  const char* const* paths;  // three fixed paths, tried in order
};

// The vendor of an adapter by its name: "zelvok" (Zelvok), else "Dazudu"
// (Dazudu), else Marqeth; case-sensitive.
const FcVendorLibrary& ChooseVendorLibrary(const char* adapterName);

// 1 when libraryPath is the vendor's library (status 0 when it has
// VDLFC_GetAdapterAttributes2, 1 otherwise), 0 when it is not.
HBA_UINT32 FindVendorAttributes2Function(const char* adapterName, const char* libraryPath,
                                         void* libHandle, char* message, HBA_UINT32* status);

// Reads the extended record of the adapter behind handle through the entry
// point found above; writes the outputs only when its NodeWWN is nodeWwn.
// 0, or -3 when the vendor's read fails.
HBA_INT32 ReadVendorAttributes2(const uint8_t* nodeWwn, HBA_UINT32* subsystemIds, uint8_t* bus,
                                uint8_t* function, uint8_t* domain, char* message,
                                HBA_HANDLE handle);

// Loads the vendor's library from its fixed paths and searches its adapters
// for nodeWwn. name holds kVendorNameBufferSize bytes and is overwritten.
// 0 on a match; -1 to -7 for the failures.
HBA_INT32 QueryVendorPciInfo(const uint8_t* nodeWwn, char* name, HBA_UINT32* subsystemIds,
                             uint8_t* bus, uint8_t* function, uint8_t* domain, char* message);

#endif
