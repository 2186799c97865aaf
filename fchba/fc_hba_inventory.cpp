#include "fchba/fc_hba_inventory.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "fchba/fc_hba_mra.h"
#include "fchba/pci_lookup.h"

FcHbaInfo::FcHbaInfo() { std::memset(this, 0, sizeof(*this)); }

void FcHbaSetField(char (&field)[FcHbaInfo::kFieldSize], const char* text) {
  std::strncpy(field, text ? text : "", FcHbaInfo::kFieldSize - 1);
  field[FcHbaInfo::kFieldSize - 1] = '\0';
}

FcHbaInventory::FcHbaInventory() = default;

FcHbaInventory::~FcHbaInventory() {
  for (FcHbaInfo* record : records_) delete record;
  records_.clear();
  adapters_.clear();
}

namespace {

FcHbaInfo* MakeRecord(const FcHbaAdapter& adapter) {
  std::unique_ptr<FcHbaInfo> record(new FcHbaInfo());
  FcHbaSetField(record->NodeWwn, adapter.GetNodeWwnText().c_str());
  const std::vector<FcHbaPort>& ports = adapter.GetPorts();
  FcHbaSetField(record->PortWwn, ports.empty() ? "" : ports.front().GetPortWwnText().c_str());
  FcHbaSetField(record->DriverVersion, adapter.GetDriverVersion().c_str());
  FcHbaSetField(record->OptionRomVersion, adapter.GetOptionRomVersion().c_str());
  FcHbaSetField(record->FirmwareVersion, adapter.GetFirmwareVersion().c_str());
  FcHbaSetField(record->Model, adapter.GetModel().c_str());

  const uint32_t subsystemIds = adapter.GetSubsystemIds();
  const uint32_t subsystemVendor = subsystemIds & 0xFFFF;
  const uint32_t subsystemDevice = subsystemIds >> 16;
  FcHbaSetField(record->PciIds,
                LookupPciVendorDevice(adapter.GetPciDomain(), adapter.GetPciBus(),
                                      adapter.GetPciFunction(), subsystemVendor, subsystemDevice)
                    .c_str());
  std::snprintf(record->SubsystemIds, sizeof(record->SubsystemIds), "%.4x%.4x", subsystemVendor,
                subsystemDevice);
  return record.release();
}

}  // namespace

uint32_t FcHbaInventory::Collect() {
  const std::size_t first = adapters_.size();
  {
    FcHbaMRA enumerator;
    HBA_UINT32 status = 0;
    for (FcHbaAdapter* adapter = enumerator.GetFirstAdapter(&status); adapter != nullptr;
         adapter = enumerator.GetNextAdapter(adapter, &status)) {
      if (status != 0) std::fputs("MRA get returned failed status!\n", stdout);
      adapters_.emplace_back(adapter);
    }
  }
  for (std::size_t i = first; i < adapters_.size(); ++i) Append(MakeRecord(*adapters_[i]));
  return 1;
}
