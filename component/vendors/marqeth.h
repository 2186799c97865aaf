// MarqethComp::CComponent: the update component for Marqeth FC adapters.
//
// Discovery goes through the adapter inventory and runs no query tool: the
// installed boot code version is the option ROM version the inventory
// reports. The update runs the boot update utility "./mqu_bootupdate" with
// the boot image "mqa_boot_fw".
#ifndef COMPONENT_VENDORS_MARQETH_H
#define COMPONENT_VENDORS_MARQETH_H

#include <sys/utsname.h>

#include <string>

#include "component/base_cmp.h"
#include "component/vendors/engine_code_table.h"

namespace MarqethComp {

// The component exit code for each exit code of the boot update utility.
extern const EngineCodeTable kEngineCodes;

class CComponent : public CBaseCmp {
 public:
  CComponent() = default;
  ~CComponent() override = default;

  std::wstring NormalizeVersion(std::wstring version) override;
  void DiscoverVendorDevices() override;
  int Flash() override;

  // True when the running kernel is 2.6.32 or later.
  bool CheckKernelVersion();
  // The same check with the kernel's identification read through unameFn.
  bool CheckKernelVersion(int (*unameFn)(struct utsname*));
};

}  // namespace MarqethComp

#endif
