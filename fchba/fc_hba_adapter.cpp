#include "fchba/fc_hba_adapter.h"

#include <cstring>

#include "fchba/attribute_clean.h"
#include "fchba/hba_api.h"
#include "fchba/wwn_text.h"

namespace {
const char kUndefined[] = "Undefined";
}  // namespace

FcHbaAdapter::FcHbaAdapter()
    : index_(0),
      name_(kUndefined),
      manufacturer_(kUndefined),
      serialNumber_(kUndefined),
      model_(kUndefined),
      modelDescription_(kUndefined),
      nodeWwn_{},
      nodeSymbolicName_(kUndefined),
      hardwareVersion_(kUndefined),
      driverVersion_(kUndefined),
      optionRomVersion_(kUndefined),
      firmwareVersion_(kUndefined),
      numberOfPorts_(0),
      driverName_(kUndefined),
      subsystemIds_(0),
      pciBus_(0),
      pciFunction_(0),
      pciDomain_(0) {}

FcHbaAdapter::~FcHbaAdapter() { HBA_FreeLibrary(); }

void FcHbaAdapter::CleanAttributeStrings(HBA_ADAPTERATTRIBUTES* attributes) {
  CleanAttributeString(attributes->SerialNumber, sizeof(attributes->SerialNumber));
  CleanAttributeString(attributes->ModelDescription, sizeof(attributes->ModelDescription));
  CleanAttributeString(attributes->Manufacturer, sizeof(attributes->Manufacturer));
  CleanAttributeString(attributes->HardwareVersion, sizeof(attributes->HardwareVersion));
  CleanAttributeString(attributes->OptionROMVersion, sizeof(attributes->OptionROMVersion));
  CleanAttributeString(attributes->FirmwareVersion, sizeof(attributes->FirmwareVersion));
}

std::string FcHbaAdapter::GetNodeWwnText() const { return WwnText(nodeWwn_); }

HBA_UINT32 FcHbaAdapter::Refresh() {
  std::lock_guard<std::mutex> guard(lock_);
  return RefreshLocked();
}

HBA_UINT32 FcHbaAdapter::RefreshLocked() {
  char name[256] = {};
  if (HBA_GetAdapterName(index_, name) != HBA_STATUS_OK) return 1;
  name[sizeof(name) - 1] = '\0';
  name_ = name;

  const HBA_HANDLE handle = HBA_OpenAdapter(name);
  if (handle == 0) return 1;

  HBA_ADAPTERATTRIBUTES attributes;
  std::memset(&attributes, 0, sizeof(attributes));
  if (HBA_GetAdapterAttributes(handle, &attributes) != HBA_STATUS_OK) {
    HBA_CloseAdapter(handle);
    return 1;
  }
  ports_.clear();
  CleanAttributeStrings(&attributes);
  CopyAttributes(attributes);
  const HBA_UINT32 result = ReadPorts(handle);
  HBA_CloseAdapter(handle);
  return result;
}

void FcHbaAdapter::CopyAttributes(const HBA_ADAPTERATTRIBUTES& source) {
  // The texts that are not cleaned are still kept inside their fields.
  HBA_ADAPTERATTRIBUTES attributes = source;
  TerminateField(attributes.Model);
  TerminateField(attributes.NodeSymbolicName);
  TerminateField(attributes.DriverVersion);
  TerminateField(attributes.DriverName);

  manufacturer_ = attributes.Manufacturer;
  serialNumber_ = attributes.SerialNumber;
  model_ = attributes.Model;
  modelDescription_ = attributes.ModelDescription;
  std::memcpy(nodeWwn_, attributes.NodeWWN.wwn, sizeof(nodeWwn_));
  nodeSymbolicName_ = attributes.NodeSymbolicName;
  hardwareVersion_ = attributes.HardwareVersion;
  driverVersion_ = attributes.DriverVersion;
  optionRomVersion_ = attributes.OptionROMVersion;
  firmwareVersion_ = attributes.FirmwareVersion;
  numberOfPorts_ = attributes.NumberOfPorts;
  driverName_ = attributes.DriverName;
  subsystemIds_ = attributes.VendorSpecificID;
}

HBA_UINT32 FcHbaAdapter::ReadPorts(HBA_HANDLE handle) {
  HBA_UINT32 result = 0;
  const HBA_UINT32 count = numberOfPorts_ < kMaxPorts ? numberOfPorts_ : kMaxPorts;
  for (HBA_UINT32 i = 0; i < count; ++i) {
    HBA_PORTATTRIBUTES attributes;
    std::memset(&attributes, 0, sizeof(attributes));
    if (HBA_GetAdapterPortAttributes(handle, i, &attributes) != HBA_STATUS_OK) {
      // The port is skipped; the following ports keep their own indexes.
      result = 1;
      continue;
    }
    FcHbaPort port;
    port.SetAttributes(attributes, i);
    HBA_PORTSTATISTICS statistics;
    std::memset(&statistics, 0, sizeof(statistics));
    if (HBA_GetPortStatistics(handle, i, &statistics) != HBA_STATUS_OK) {
      result = 1;
    } else {
      port.SetStatistics(statistics);
    }
    ports_.push_back(port);
  }
  return result;
}
