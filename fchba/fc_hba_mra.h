// FcHbaMRA: loads the HBA libraries and hands out one adapter object per
// adapter index.
#ifndef FCHBA_FC_HBA_MRA_H
#define FCHBA_FC_HBA_MRA_H

#include "fchba/fc_hba_adapter.h"
#include "fchba/hba_types.h"

class FcHbaMRA {
 public:
  // Loads the libraries and counts the adapters (0 when loading failed).
  FcHbaMRA();
  // The libraries stay loaded.
  virtual ~FcHbaMRA() = default;
  FcHbaMRA(const FcHbaMRA&) = delete;
  FcHbaMRA& operator=(const FcHbaMRA&) = delete;

  // The adapter of index 0, refreshed and completed with its PCI data, or
  // null without adapters. *status: 0, 1 when the refresh failed, 2 when
  // memory ran out (then null). The adapter belongs to the caller.
  FcHbaAdapter* GetFirstAdapter(HBA_UINT32* status);
  // The adapter after previous, or null after the last one (status then
  // left as it was).
  FcHbaAdapter* GetNextAdapter(const FcHbaAdapter* previous, HBA_UINT32* status);

  HBA_UINT32 IsLoaded() const { return loaded_; }
  HBA_UINT32 GetAdapterCount() const { return adapterCount_; }

 private:
  FcHbaAdapter* CreateAdapter(HBA_UINT32 index, HBA_UINT32* status);

  HBA_UINT32 loaded_;
  HBA_UINT32 adapterCount_;
};

#endif
