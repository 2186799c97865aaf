// The vendors' extension of the HBA API: an extended adapter record with the
// PCI subsystem ids and location, and the VDLFC_* entry points that the
// vendor libraries export.
#ifndef FCHBA_VDLFC_TYPES_H
#define FCHBA_VDLFC_TYPES_H

#include <cstddef>

#include "fchba/hba_types.h"

struct VDLFC_ADAPTERATTRIBUTES2 {
  HBA_ADAPTERATTRIBUTES attributes;
  // Subsystem vendor id in the low 16 bits, subsystem device id in the high.
  HBA_UINT32 SubsystemIds;
  HBA_UINT8 PciBus;
  HBA_UINT8 PciFunction;
  HBA_UINT8 PciDomain;
  HBA_UINT8 Reserved[1];
};

static_assert(offsetof(VDLFC_ADAPTERATTRIBUTES2, attributes.NodeWWN) == 640, "NodeWWN offset");
static_assert(offsetof(VDLFC_ADAPTERATTRIBUTES2, SubsystemIds) == 2192, "subsystem ids offset");
static_assert(offsetof(VDLFC_ADAPTERATTRIBUTES2, PciBus) == 2196, "bus offset");
static_assert(offsetof(VDLFC_ADAPTERATTRIBUTES2, PciFunction) == 2197, "function offset");
static_assert(offsetof(VDLFC_ADAPTERATTRIBUTES2, PciDomain) == 2198, "domain offset");
static_assert(sizeof(VDLFC_ADAPTERATTRIBUTES2) == 2200, "VDLFC_ADAPTERATTRIBUTES2 size");

// The area handed to the vendor's reader: the record plus room for whatever
// the vendor places after the domain byte, so such bytes land inside it.
union VdlfcRecordArea {
  VDLFC_ADAPTERATTRIBUTES2 record;
  unsigned char room[4096];
};

typedef HBA_UINT32 (*VDLFCLoadLibraryFunc)();
typedef HBA_UINT32 (*VDLFCGetNumberOfAdaptersFunc)();
typedef HBA_UINT32 (*VDLFCGetAdapterNameFunc)(HBA_UINT32 adapterIndex, char* adapterName);
typedef HBA_HANDLE (*VDLFCOpenAdapterFunc)(char* adapterName);
typedef HBA_UINT32 (*VDLFCGetAdapterAttributes2Func)(HBA_HANDLE handle,
                                                     VDLFC_ADAPTERATTRIBUTES2* attributes);
typedef void (*VDLFCCloseAdapterFunc)(HBA_HANDLE handle);
typedef HBA_UINT32 (*VDLFCFreeLibraryFunc)();

#endif
