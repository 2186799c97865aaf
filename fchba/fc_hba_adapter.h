// FcHbaAdapter: one adapter of the HBA API, its attributes, its ports and the
// PCI location that the vendor extension reports.
#ifndef FCHBA_FC_HBA_ADAPTER_H
#define FCHBA_FC_HBA_ADAPTER_H

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "fchba/fc_hba_port.h"
#include "fchba/hba_types.h"

class FcHbaAdapter {
 public:
  // More ports than this are taken for a vendor fault and not read.
  static constexpr HBA_UINT32 kMaxPorts = 256;

  FcHbaAdapter();
  // Unloads every HBA library (not only this adapter's).
  virtual ~FcHbaAdapter();
  FcHbaAdapter(const FcHbaAdapter&) = delete;
  FcHbaAdapter& operator=(const FcHbaAdapter&) = delete;

  // Reads the adapter's name, attributes and ports: 0 when every step
  // succeeded, 1 otherwise.
  HBA_UINT32 Refresh();
  // Fills the subsystem ids and the PCI bus, function and domain from the
  // vendor's extended attributes when the vendor library knows the adapter.
  void LoadVendorPciInfo();
  // Cleans SerialNumber, ModelDescription, Manufacturer, HardwareVersion,
  // OptionROMVersion and FirmwareVersion, in that order.
  static void CleanAttributeStrings(HBA_ADAPTERATTRIBUTES* attributes);

  void SetIndex(HBA_UINT32 index) { index_ = index; }
  HBA_UINT32 GetIndex() const { return index_; }
  const std::vector<FcHbaPort>& GetPorts() const { return ports_; }

  std::string GetNodeWwnText() const;
  const uint8_t* GetNodeWwn() const { return nodeWwn_; }
  HBA_UINT32 GetNumberOfPorts() const { return numberOfPorts_; }
  uint8_t GetPciDomain() const { return pciDomain_; }
  uint8_t GetPciBus() const { return pciBus_; }
  uint8_t GetPciFunction() const { return pciFunction_; }
  HBA_UINT32 GetSubsystemIds() const { return subsystemIds_; }
  std::string GetName() const { return name_; }
  std::string GetManufacturer() const { return manufacturer_; }
  std::string GetSerialNumber() const { return serialNumber_; }
  std::string GetModel() const { return model_; }
  std::string GetModelDescription() const { return modelDescription_; }
  std::string GetNodeSymbolicName() const { return nodeSymbolicName_; }
  std::string GetHardwareVersion() const { return hardwareVersion_; }
  std::string GetDriverVersion() const { return driverVersion_; }
  std::string GetOptionRomVersion() const { return optionRomVersion_; }
  std::string GetFirmwareVersion() const { return firmwareVersion_; }
  std::string GetDriverName() const { return driverName_; }

 private:
  HBA_UINT32 RefreshLocked();
  void CopyAttributes(const HBA_ADAPTERATTRIBUTES& attributes);
  HBA_UINT32 ReadPorts(HBA_HANDLE handle);

  HBA_UINT32 index_;
  std::vector<FcHbaPort> ports_;
  std::string name_;
  std::string manufacturer_;
  std::string serialNumber_;
  std::string model_;
  std::string modelDescription_;
  uint8_t nodeWwn_[8];
  std::string nodeSymbolicName_;
  std::string hardwareVersion_;
  std::string driverVersion_;
  std::string optionRomVersion_;
  std::string firmwareVersion_;
  HBA_UINT32 numberOfPorts_;
  std::string driverName_;
  HBA_UINT32 subsystemIds_;
  uint8_t pciBus_;
  uint8_t pciFunction_;
  uint8_t pciDomain_;
  std::mutex lock_;
};

#endif
