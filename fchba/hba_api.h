// The program's common HBA-API library: reads the vendor libraries listed in
// "/etc/hba.conf", numbers the adapters of all of them in one table and
// forwards each operation to the library that serves the handle.
//
// Handles handed out here pack the library index into the high 16 bits and
// the low 16 bits of the vendor's own handle into the low 16 bits; 0 is no
// handle. Statuses other than the ones named in hba_types.h come from the
// vendor library unchanged. State is process-wide and used from one thread.
#ifndef FCHBA_HBA_API_H
#define FCHBA_HBA_API_H

#include "fchba/hba_types.h"

// Reads the registry and loads its libraries: 0 when the file was read,
// whatever became of each library; 1 when it cannot be opened.
HBA_STATUS HBA_LoadLibrary();
// Unloads every loaded library; 0.
HBA_STATUS HBA_FreeLibrary();
// Rebuilds the adapter table from the loaded libraries; the adapter total.
HBA_UINT32 HBA_GetNumberOfAdapters();
HBA_UINT32 HBA_GetVersion();
// Copies the name of adapter index into name (256 bytes); 6 for an index at
// or above the total, the buffer then untouched.
HBA_STATUS HBA_GetAdapterName(HBA_UINT32 index, char* name);
// Opens the first adapter of that exact name; 0 when there is none or its
// library does not open it.
HBA_HANDLE HBA_OpenAdapter(const char* name);

// The library that serves adapter index: its path is copied into path (256
// bytes) and its loader handle returned (null, with an empty path, for an
// index at or above the total).
void* HbaGetAdapterLibrary(HBA_UINT32 index, char* path);
// Splits a handle; 3 for a library index of 32 or above, 1 when that library
// is not loaded, else 0. The library index is stored in every case.
HBA_STATUS HbaDecodeHandle(HBA_HANDLE handle, HBA_UINT32* library, HBA_UINT32* vendorHandle);

// Forwarding operations: the decode status when the handle does not decode,
// 0 (outputs untouched) when the library lacks the operation, else the
// vendor's result.
HBA_STATUS HBA_CloseAdapter(HBA_HANDLE handle);
HBA_STATUS HBA_GetAdapterAttributes(HBA_HANDLE handle, HBA_ADAPTERATTRIBUTES* attributes);
HBA_STATUS HBA_GetAdapterPortAttributes(HBA_HANDLE handle, HBA_UINT32 portIndex,
                                        HBA_PORTATTRIBUTES* attributes);
HBA_STATUS HBA_GetPortStatistics(HBA_HANDLE handle, HBA_UINT32 portIndex,
                                 HBA_PORTSTATISTICS* statistics);
HBA_STATUS HBA_GetDiscoveredPortAttributes(HBA_HANDLE handle, HBA_UINT32 portIndex,
                                           HBA_UINT32 discoveredPortIndex,
                                           HBA_PORTATTRIBUTES* attributes);
HBA_STATUS HBA_GetPortAttributesByWWN(HBA_HANDLE handle, HBA_WWN portWWN,
                                      HBA_PORTATTRIBUTES* attributes);
HBA_STATUS HBA_SendCTPassThru(HBA_HANDLE handle, void* request, HBA_UINT32 requestSize,
                              void* response, HBA_UINT32 responseSize);
HBA_STATUS HBA_RefreshInformation(HBA_HANDLE handle);
HBA_STATUS HBA_ResetStatistics(HBA_HANDLE handle, HBA_UINT32 portIndex);
HBA_STATUS HBA_GetFcpTargetMapping(HBA_HANDLE handle, HBA_FCPTARGETMAPPING* mapping);
HBA_STATUS HBA_GetFcpPersistentBinding(HBA_HANDLE handle, HBA_FCPBINDING* binding);
HBA_STATUS HBA_GetEventBuffer(HBA_HANDLE handle, HBA_EVENTINFO* events, HBA_UINT32* eventCount);
HBA_STATUS HBA_SetRNIDMgmtInfo(HBA_HANDLE handle, HBA_MGMTINFO* info);
HBA_STATUS HBA_GetRNIDMgmtInfo(HBA_HANDLE handle, HBA_MGMTINFO* info);
HBA_STATUS HBA_SendRNID(HBA_HANDLE handle, HBA_WWN wwn, HBA_WWNTYPE wwnType, void* response,
                        HBA_UINT32* responseSize);
HBA_STATUS HBA_SendScsiInquiry(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 fcLun, HBA_UINT8 evpd,
                               HBA_UINT32 pageCode, void* response, HBA_UINT32 responseSize,
                               void* sense, HBA_UINT32 senseSize);
HBA_STATUS HBA_SendReportLUNs(HBA_HANDLE handle, HBA_WWN portWWN, void* response,
                              HBA_UINT32 responseSize, void* sense, HBA_UINT32 senseSize);
HBA_STATUS HBA_SendReadCapacity(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 fcLun,
                                void* response, HBA_UINT32 responseSize, void* sense,
                                HBA_UINT32 senseSize);

#endif
