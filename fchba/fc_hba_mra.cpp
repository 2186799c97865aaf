#include "fchba/fc_hba_mra.h"

#include <memory>
#include <new>

#include "fchba/hba_api.h"

FcHbaMRA::FcHbaMRA() : loaded_(0), adapterCount_(0) {
  if (HBA_LoadLibrary() == HBA_STATUS_OK) {
    adapterCount_ = HBA_GetNumberOfAdapters();
    loaded_ = 1;
  }
}

FcHbaAdapter* FcHbaMRA::GetFirstAdapter(HBA_UINT32* status) {
  *status = 0;
  if (adapterCount_ == 0) return nullptr;
  return CreateAdapter(0, status);
}

FcHbaAdapter* FcHbaMRA::GetNextAdapter(const FcHbaAdapter* previous, HBA_UINT32* status) {
  const HBA_UINT32 index = previous->GetIndex() + 1;
  if (index >= adapterCount_) return nullptr;
  return CreateAdapter(index, status);
}

FcHbaAdapter* FcHbaMRA::CreateAdapter(HBA_UINT32 index, HBA_UINT32* status) {
  try {
    std::unique_ptr<FcHbaAdapter> adapter(new FcHbaAdapter());
    adapter->SetIndex(index);
    *status = adapter->Refresh();
    adapter->LoadVendorPciInfo();
    return adapter.release();
  } catch (const std::bad_alloc&) {
    *status = 2;
    return nullptr;
  }
}
