#include "fc_hba_inventory.h"

#include <cstring>

FcHbaInfo::FcHbaInfo() { std::memset(this, 0, sizeof(*this)); }

void FcHbaSetField(char (&field)[FcHbaInfo::kFieldSize], const char* text) {
  std::strncpy(field, text ? text : "", FcHbaInfo::kFieldSize - 1);
  field[FcHbaInfo::kFieldSize - 1] = '\0';
}

FcHbaInventory::~FcHbaInventory() {
  for (FcHbaInfo* record : records_) delete record;
  records_.clear();
}

// Until the HBA-API scan is built the inventory stays as it is.
uint32_t FcHbaInventory::Collect() { return 1; }
