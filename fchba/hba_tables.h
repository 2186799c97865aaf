// The process-wide library and adapter tables behind the HBA-API operations.
// Internal to the loader and the forwarding operations.
#ifndef FCHBA_HBA_TABLES_H
#define FCHBA_HBA_TABLES_H

#include <cstddef>

#include "fchba/hba_types.h"

namespace HbaTables {

constexpr std::size_t kLibraryCount = 32;
constexpr std::size_t kAdapterCount = 64;
constexpr std::size_t kLibraryNameSize = 64;
constexpr std::size_t kPathSize = 256;
// The vendor writes an adapter name into a 256-byte buffer; the table keeps
// it whole so that the name still opens the adapter.
constexpr std::size_t kAdapterNameSize = 256;

enum LibraryStatus : HBA_UINT32 { kNotLoaded = 0, kLoaded = 1, kUnloaded = 2 };

struct HbaLibraryEntry {
  char name[kLibraryNameSize];
  char path[kPathSize];
  void* handle;
  HBA_ENTRYPOINTS entryPoints;
  HBA_UINT32 status;
};

struct HbaAdapterEntry {
  char name[kAdapterNameSize];
  HBA_UINT32 library;
};

extern HbaLibraryEntry gLibraries[kLibraryCount];
extern HbaAdapterEntry gAdapters[kAdapterCount];
extern HBA_UINT32 gAdapterTotal;

}  // namespace HbaTables

#endif
