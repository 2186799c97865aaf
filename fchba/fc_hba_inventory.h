// FcHbaInventory: the holder of the adapter records, in HBA-API adapter order.
#ifndef FCHBA_FC_HBA_INVENTORY_H
#define FCHBA_FC_HBA_INVENTORY_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "fchba/fc_hba_info.h"

class FcHbaAdapter;

class FcHbaInventory {
 public:
  FcHbaInventory();
  // Frees the records, then the scanned adapter objects, whose destruction
  // unloads the HBA libraries.
  ~FcHbaInventory();
  FcHbaInventory(const FcHbaInventory&) = delete;
  FcHbaInventory& operator=(const FcHbaInventory&) = delete;

  // Scans the installed adapters and appends one record per adapter; always 1.
  // The HBA libraries stay loaded after the scan.
  uint32_t Collect();

  std::size_t Count() const { return records_.size(); }
  // The record at index, or null for an index at or above Count().
  FcHbaInfo* At(std::size_t index) const {
    return index < records_.size() ? records_[index] : nullptr;
  }

  // Takes ownership of a record (used by the scan).
  void Append(FcHbaInfo* record) { records_.push_back(record); }

 private:
  std::vector<FcHbaInfo*> records_;
  // The adapter objects of every scan. They are kept until the inventory goes
  // because destroying one unloads every HBA library.
  std::vector<std::unique_ptr<FcHbaAdapter>> adapters_;
};

#endif
