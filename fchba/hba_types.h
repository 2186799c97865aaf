// Fibre Channel HBA API (first edition) types, records and the vendor
// library's entry-point table, as the vendor management libraries use them.
//
// The records are fixed C layouts shared with the vendor libraries; the
// static_asserts below pin their sizes and the offsets the program relies on.
#ifndef FCHBA_HBA_TYPES_H
#define FCHBA_HBA_TYPES_H

#include <cstddef>
#include <cstdint>

typedef uint8_t HBA_UINT8;
typedef uint16_t HBA_UINT16;
typedef uint32_t HBA_UINT32;
typedef int32_t HBA_INT32;
typedef uint64_t HBA_UINT64;
typedef int64_t HBA_INT64;

typedef HBA_UINT32 HBA_HANDLE;
typedef HBA_UINT32 HBA_STATUS;
typedef HBA_UINT32 HBA_PORTTYPE;
typedef HBA_UINT32 HBA_PORTSTATE;
typedef HBA_UINT32 HBA_PORTSPEED;
typedef HBA_UINT32 HBA_COS;
typedef HBA_UINT32 HBA_WWNTYPE;

constexpr HBA_STATUS HBA_STATUS_OK = 0;
constexpr HBA_STATUS HBA_STATUS_ERROR = 1;
constexpr HBA_STATUS HBA_STATUS_ERROR_NOT_SUPPORTED = 2;
constexpr HBA_STATUS HBA_STATUS_ERROR_INVALID_HANDLE = 3;
constexpr HBA_STATUS HBA_STATUS_ERROR_ARG = 4;
constexpr HBA_STATUS HBA_STATUS_ERROR_ILLEGAL_WWN = 5;
constexpr HBA_STATUS HBA_STATUS_ERROR_ILLEGAL_INDEX = 6;
constexpr HBA_STATUS HBA_STATUS_ERROR_MORE_DATA = 7;

struct HBA_WWN {
  HBA_UINT8 wwn[8];
};

struct HBA_FC4TYPES {
  HBA_UINT8 bits[32];
};

struct HBA_ADAPTERATTRIBUTES {
  char Manufacturer[64];
  char SerialNumber[64];
  char Model[256];
  char ModelDescription[256];
  HBA_WWN NodeWWN;
  char NodeSymbolicName[256];
  char HardwareVersion[256];
  char DriverVersion[256];
  char OptionROMVersion[256];
  char FirmwareVersion[256];
  HBA_UINT32 VendorSpecificID;
  HBA_UINT32 NumberOfPorts;
  char DriverName[256];
};

struct HBA_PORTATTRIBUTES {
  HBA_WWN NodeWWN;
  HBA_WWN PortWWN;
  HBA_UINT32 PortFcId;
  HBA_PORTTYPE PortType;
  HBA_PORTSTATE PortState;
  HBA_COS PortSupportedClassofService;
  HBA_FC4TYPES PortSupportedFc4Types;
  HBA_FC4TYPES PortActiveFc4Types;
  char PortSymbolicName[256];
  char OSDeviceName[256];
  HBA_PORTSPEED PortSupportedSpeed;
  HBA_PORTSPEED PortSpeed;
  HBA_UINT32 PortMaxFrameSize;
  HBA_WWN FabricName;
  HBA_UINT32 NumberofDiscoveredPorts;
};

// A counter of all ones (-1) is one the adapter does not support.
struct HBA_PORTSTATISTICS {
  HBA_INT64 SecondsSinceLastReset;
  HBA_INT64 TxFrames;
  HBA_INT64 TxWords;
  HBA_INT64 RxFrames;
  HBA_INT64 RxWords;
  HBA_INT64 LIPCount;
  HBA_INT64 NOSCount;
  HBA_INT64 ErrorFrames;
  HBA_INT64 DumpedFrames;
  HBA_INT64 LinkFailureCount;
  HBA_INT64 LossOfSyncCount;
  HBA_INT64 LossOfSignalCount;
  HBA_INT64 PrimitiveSeqProtocolErrCount;
  HBA_INT64 InvalidTxWordCount;
  HBA_INT64 InvalidCRCCount;
};

// Buffers the program only passes through to the vendor library.
struct HBA_FCPTARGETMAPPING;
struct HBA_FCPBINDING;
struct HBA_EVENTINFO;
struct HBA_MGMTINFO;

typedef HBA_UINT32 (*HBAGetVersionFunc)();
typedef HBA_STATUS (*HBALoadLibraryFunc)();
typedef HBA_STATUS (*HBAFreeLibraryFunc)();
typedef HBA_UINT32 (*HBAGetNumberOfAdaptersFunc)();
typedef HBA_STATUS (*HBAGetAdapterNameFunc)(HBA_UINT32 adapterIndex, char* adapterName);
typedef HBA_HANDLE (*HBAOpenAdapterFunc)(char* adapterName);
typedef void (*HBACloseAdapterFunc)(HBA_HANDLE handle);
typedef HBA_STATUS (*HBAGetAdapterAttributesFunc)(HBA_HANDLE handle,
                                                  HBA_ADAPTERATTRIBUTES* attributes);
typedef HBA_STATUS (*HBAGetAdapterPortAttributesFunc)(HBA_HANDLE handle, HBA_UINT32 portIndex,
                                                      HBA_PORTATTRIBUTES* attributes);
typedef HBA_STATUS (*HBAGetPortStatisticsFunc)(HBA_HANDLE handle, HBA_UINT32 portIndex,
                                               HBA_PORTSTATISTICS* statistics);
typedef HBA_STATUS (*HBAGetDiscoveredPortAttributesFunc)(HBA_HANDLE handle, HBA_UINT32 portIndex,
                                                         HBA_UINT32 discoveredPortIndex,
                                                         HBA_PORTATTRIBUTES* attributes);
typedef HBA_STATUS (*HBAGetPortAttributesByWWNFunc)(HBA_HANDLE handle, HBA_WWN portWWN,
                                                    HBA_PORTATTRIBUTES* attributes);
typedef HBA_STATUS (*HBASendCTPassThruFunc)(HBA_HANDLE handle, void* request,
                                            HBA_UINT32 requestSize, void* response,
                                            HBA_UINT32 responseSize);
typedef void (*HBARefreshInformationFunc)(HBA_HANDLE handle);
typedef void (*HBAResetStatisticsFunc)(HBA_HANDLE handle, HBA_UINT32 portIndex);
typedef HBA_STATUS (*HBAGetFcpTargetMappingFunc)(HBA_HANDLE handle, HBA_FCPTARGETMAPPING* mapping);
typedef HBA_STATUS (*HBAGetFcpPersistentBindingFunc)(HBA_HANDLE handle, HBA_FCPBINDING* binding);
typedef HBA_STATUS (*HBAGetEventBufferFunc)(HBA_HANDLE handle, HBA_EVENTINFO* events,
                                            HBA_UINT32* eventCount);
typedef HBA_STATUS (*HBASetRNIDMgmtInfoFunc)(HBA_HANDLE handle, HBA_MGMTINFO* info);
typedef HBA_STATUS (*HBAGetRNIDMgmtInfoFunc)(HBA_HANDLE handle, HBA_MGMTINFO* info);
typedef HBA_STATUS (*HBASendRNIDFunc)(HBA_HANDLE handle, HBA_WWN wwn, HBA_WWNTYPE wwnType,
                                      void* response, HBA_UINT32* responseSize);
typedef HBA_STATUS (*HBASendScsiInquiryFunc)(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 fcLun,
                                             HBA_UINT8 evpd, HBA_UINT32 pageCode, void* response,
                                             HBA_UINT32 responseSize, void* sense,
                                             HBA_UINT32 senseSize);
typedef HBA_STATUS (*HBASendReportLUNsFunc)(HBA_HANDLE handle, HBA_WWN portWWN, void* response,
                                            HBA_UINT32 responseSize, void* sense,
                                            HBA_UINT32 senseSize);
typedef HBA_STATUS (*HBASendReadCapacityFunc)(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 fcLun,
                                              void* response, HBA_UINT32 responseSize, void* sense,
                                              HBA_UINT32 senseSize);

// The table a vendor library fills in its HBA_RegisterLibrary; a null entry
// is an operation the library lacks.
struct HBA_ENTRYPOINTS {
  HBAGetVersionFunc GetVersionHandler;
  HBALoadLibraryFunc LoadLibraryHandler;
  HBAFreeLibraryFunc FreeLibraryHandler;
  HBAGetNumberOfAdaptersFunc GetNumberOfAdaptersHandler;
  HBAGetAdapterNameFunc GetAdapterNameHandler;
  HBAOpenAdapterFunc OpenAdapterHandler;
  HBACloseAdapterFunc CloseAdapterHandler;
  HBAGetAdapterAttributesFunc GetAdapterAttributesHandler;
  HBAGetAdapterPortAttributesFunc GetAdapterPortAttributesHandler;
  HBAGetPortStatisticsFunc GetPortStatisticsHandler;
  HBAGetDiscoveredPortAttributesFunc GetDiscoveredPortAttributesHandler;
  HBAGetPortAttributesByWWNFunc GetPortAttributesByWWNHandler;
  HBASendCTPassThruFunc SendCTPassThruHandler;
  HBARefreshInformationFunc RefreshInformationHandler;
  HBAResetStatisticsFunc ResetStatisticsHandler;
  HBAGetFcpTargetMappingFunc GetFcpTargetMappingHandler;
  HBAGetFcpPersistentBindingFunc GetFcpPersistentBindingHandler;
  HBAGetEventBufferFunc GetEventBufferHandler;
  HBASetRNIDMgmtInfoFunc SetRNIDMgmtInfoHandler;
  HBAGetRNIDMgmtInfoFunc GetRNIDMgmtInfoHandler;
  HBASendRNIDFunc SendRNIDHandler;
  HBASendScsiInquiryFunc ScsiInquiryHandler;
  HBASendReportLUNsFunc ReportLUNsHandler;
  HBASendReadCapacityFunc ReadCapacityHandler;
};

// Exported by every vendor library: fills the table, 0 on success.
typedef HBA_STATUS (*HBARegisterLibraryFunc)(HBA_ENTRYPOINTS* entryPoints);

static_assert(sizeof(HBA_WWN) == 8, "HBA_WWN layout");
static_assert(sizeof(HBA_ADAPTERATTRIBUTES) == 2192, "HBA_ADAPTERATTRIBUTES size");
static_assert(offsetof(HBA_ADAPTERATTRIBUTES, Model) == 128, "Model offset");
static_assert(offsetof(HBA_ADAPTERATTRIBUTES, NodeWWN) == 640, "NodeWWN offset");
static_assert(offsetof(HBA_ADAPTERATTRIBUTES, VendorSpecificID) == 1928, "VendorSpecificID offset");
static_assert(offsetof(HBA_ADAPTERATTRIBUTES, NumberOfPorts) == 1932, "NumberOfPorts offset");
static_assert(offsetof(HBA_ADAPTERATTRIBUTES, DriverName) == 1936, "DriverName offset");
static_assert(sizeof(HBA_PORTATTRIBUTES) == 632, "HBA_PORTATTRIBUTES size");
static_assert(offsetof(HBA_PORTATTRIBUTES, PortWWN) == 8, "PortWWN offset");
static_assert(offsetof(HBA_PORTATTRIBUTES, PortSupportedFc4Types) == 32, "FC-4 types offset");
static_assert(offsetof(HBA_PORTATTRIBUTES, PortSymbolicName) == 96, "PortSymbolicName offset");
static_assert(offsetof(HBA_PORTATTRIBUTES, PortSupportedSpeed) == 608, "speed offset");
static_assert(offsetof(HBA_PORTATTRIBUTES, FabricName) == 620, "FabricName offset");
static_assert(sizeof(HBA_PORTSTATISTICS) == 15 * 8, "HBA_PORTSTATISTICS size");
static_assert(offsetof(HBA_PORTSTATISTICS, LIPCount) == 40, "LIPCount offset");
static_assert(sizeof(HBA_ENTRYPOINTS) == 24 * sizeof(void*), "24 entry points");
static_assert(offsetof(HBA_ENTRYPOINTS, CloseAdapterHandler) == 6 * sizeof(void*), "slot 6");
static_assert(offsetof(HBA_ENTRYPOINTS, ReadCapacityHandler) == 23 * sizeof(void*), "slot 23");

#endif
