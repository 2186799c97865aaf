// FcHbaInventory: the holder of the adapter records, in HBA-API adapter order.
#ifndef FCHBA_FC_HBA_INVENTORY_H
#define FCHBA_FC_HBA_INVENTORY_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fc_hba_info.h"

class FcHbaInventory {
 public:
  FcHbaInventory() = default;
  ~FcHbaInventory();
  FcHbaInventory(const FcHbaInventory&) = delete;
  FcHbaInventory& operator=(const FcHbaInventory&) = delete;

  // Scans the installed adapters and appends one record per adapter; always 1.
  uint32_t Collect();

  std::size_t Count() const { return records_.size(); }
  FcHbaInfo* At(std::size_t index) const { return records_[index]; }

  // Takes ownership of a record (used by the scan).
  void Append(FcHbaInfo* record) { records_.push_back(record); }

 private:
  std::vector<FcHbaInfo*> records_;
};

#endif
