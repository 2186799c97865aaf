// The HBA-API operations that go straight to the library serving a handle.
#include "fchba/hba_api.h"
#include "fchba/hba_tables.h"

namespace {

// Decodes the handle and, when the serving library has the entry point in
// slot, returns call(entry point, vendor handle); a missing entry point is 0.
template <typename Function, typename Call>
HBA_STATUS Forward(HBA_HANDLE handle, Function HBA_ENTRYPOINTS::*slot, Call call) {
  HBA_UINT32 library = 0;
  HBA_UINT32 vendorHandle = 0;
  const HBA_STATUS status = HbaDecodeHandle(handle, &library, &vendorHandle);
  if (status != HBA_STATUS_OK) return status;
  const Function function = HbaTables::gLibraries[library].entryPoints.*slot;
  if (!function) return HBA_STATUS_OK;
  return call(function, vendorHandle);
}

}  // namespace

HBA_STATUS HBA_CloseAdapter(HBA_HANDLE handle) {
  return Forward(handle, &HBA_ENTRYPOINTS::CloseAdapterHandler, [](auto f, HBA_HANDLE h) {
    f(h);
    return HBA_STATUS_OK;
  });
}

HBA_STATUS HBA_GetAdapterAttributes(HBA_HANDLE handle, HBA_ADAPTERATTRIBUTES* attributes) {
  return Forward(handle, &HBA_ENTRYPOINTS::GetAdapterAttributesHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, attributes); });
}

HBA_STATUS HBA_GetAdapterPortAttributes(HBA_HANDLE handle, HBA_UINT32 portIndex,
                                        HBA_PORTATTRIBUTES* attributes) {
  return Forward(handle, &HBA_ENTRYPOINTS::GetAdapterPortAttributesHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, portIndex, attributes); });
}

HBA_STATUS HBA_GetPortStatistics(HBA_HANDLE handle, HBA_UINT32 portIndex,
                                 HBA_PORTSTATISTICS* statistics) {
  return Forward(handle, &HBA_ENTRYPOINTS::GetPortStatisticsHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, portIndex, statistics); });
}

HBA_STATUS HBA_GetDiscoveredPortAttributes(HBA_HANDLE handle, HBA_UINT32 portIndex,
                                           HBA_UINT32 discoveredPortIndex,
                                           HBA_PORTATTRIBUTES* attributes) {
  return Forward(
      handle, &HBA_ENTRYPOINTS::GetDiscoveredPortAttributesHandler,
      [&](auto f, HBA_HANDLE h) { return f(h, portIndex, discoveredPortIndex, attributes); });
}

HBA_STATUS HBA_GetPortAttributesByWWN(HBA_HANDLE handle, HBA_WWN portWWN,
                                      HBA_PORTATTRIBUTES* attributes) {
  return Forward(handle, &HBA_ENTRYPOINTS::GetPortAttributesByWWNHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, portWWN, attributes); });
}

HBA_STATUS HBA_SendCTPassThru(HBA_HANDLE handle, void* request, HBA_UINT32 requestSize,
                              void* response, HBA_UINT32 responseSize) {
  return Forward(handle, &HBA_ENTRYPOINTS::SendCTPassThruHandler, [&](auto f, HBA_HANDLE h) {
    return f(h, request, requestSize, response, responseSize);
  });
}

HBA_STATUS HBA_RefreshInformation(HBA_HANDLE handle) {
  return Forward(handle, &HBA_ENTRYPOINTS::RefreshInformationHandler, [](auto f, HBA_HANDLE h) {
    f(h);
    return HBA_STATUS_OK;
  });
}

HBA_STATUS HBA_ResetStatistics(HBA_HANDLE handle, HBA_UINT32 portIndex) {
  return Forward(handle, &HBA_ENTRYPOINTS::ResetStatisticsHandler, [&](auto f, HBA_HANDLE h) {
    f(h, portIndex);
    return HBA_STATUS_OK;
  });
}

HBA_STATUS HBA_GetFcpTargetMapping(HBA_HANDLE handle, HBA_FCPTARGETMAPPING* mapping) {
  return Forward(handle, &HBA_ENTRYPOINTS::GetFcpTargetMappingHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, mapping); });
}

HBA_STATUS HBA_GetFcpPersistentBinding(HBA_HANDLE handle, HBA_FCPBINDING* binding) {
  return Forward(handle, &HBA_ENTRYPOINTS::GetFcpPersistentBindingHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, binding); });
}

HBA_STATUS HBA_GetEventBuffer(HBA_HANDLE handle, HBA_EVENTINFO* events, HBA_UINT32* eventCount) {
  return Forward(handle, &HBA_ENTRYPOINTS::GetEventBufferHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, events, eventCount); });
}

HBA_STATUS HBA_SetRNIDMgmtInfo(HBA_HANDLE handle, HBA_MGMTINFO* info) {
  return Forward(handle, &HBA_ENTRYPOINTS::SetRNIDMgmtInfoHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, info); });
}

HBA_STATUS HBA_GetRNIDMgmtInfo(HBA_HANDLE handle, HBA_MGMTINFO* info) {
  return Forward(handle, &HBA_ENTRYPOINTS::GetRNIDMgmtInfoHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, info); });
}

HBA_STATUS HBA_SendRNID(HBA_HANDLE handle, HBA_WWN wwn, HBA_WWNTYPE wwnType, void* response,
                        HBA_UINT32* responseSize) {
  return Forward(handle, &HBA_ENTRYPOINTS::SendRNIDHandler,
                 [&](auto f, HBA_HANDLE h) { return f(h, wwn, wwnType, response, responseSize); });
}

HBA_STATUS HBA_SendScsiInquiry(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 fcLun, HBA_UINT8 evpd,
                               HBA_UINT32 pageCode, void* response, HBA_UINT32 responseSize,
                               void* sense, HBA_UINT32 senseSize) {
  return Forward(handle, &HBA_ENTRYPOINTS::ScsiInquiryHandler, [&](auto f, HBA_HANDLE h) {
    return f(h, portWWN, fcLun, evpd, pageCode, response, responseSize, sense, senseSize);
  });
}

HBA_STATUS HBA_SendReportLUNs(HBA_HANDLE handle, HBA_WWN portWWN, void* response,
                              HBA_UINT32 responseSize, void* sense, HBA_UINT32 senseSize) {
  return Forward(handle, &HBA_ENTRYPOINTS::ReportLUNsHandler, [&](auto f, HBA_HANDLE h) {
    return f(h, portWWN, response, responseSize, sense, senseSize);
  });
}

HBA_STATUS HBA_SendReadCapacity(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 fcLun,
                                void* response, HBA_UINT32 responseSize, void* sense,
                                HBA_UINT32 senseSize) {
  return Forward(handle, &HBA_ENTRYPOINTS::ReadCapacityHandler, [&](auto f, HBA_HANDLE h) {
    return f(h, portWWN, fcLun, response, responseSize, sense, senseSize);
  });
}
