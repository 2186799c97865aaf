// ZelvokComp::CComponent: the update component for Zelvok FC adapters.
//
// Discovery goes through the adapter inventory; the installed multiboot
// image version of each adapter comes from the query mode of the Zelvok
// flash utility "./qvzvfwupdate", paired with the inventory record through
// the adapter's port WWN. The update runs the same utility.
#ifndef COMPONENT_VENDORS_ZELVOK_H
#define COMPONENT_VENDORS_ZELVOK_H

#include <cstdint>
#include <string>

#include "component/base_cmp.h"
#include "component/vendors/engine_code_table.h"

namespace ZelvokComp {

// What the utility's query mode reported, by adapter instance number.
struct QueryTables {
  static constexpr int kInstances = 64;

  std::wstring versions[kInstances];  // "Flash Image" value per instance
  std::string portNames[kInstances];  // "Port Name" value, "-" turned into ":"
  int instanceCount = 0;              // lines / 5, never more than kInstances
};

// Reads the query output: lines at "\n", each tried against the
// "HBA Instance", "Flash Image" and "Port Name" patterns. Lines naming no
// valid instance (before the first "HBA Instance" line, or after one whose
// number lies outside the tables) are ignored.
QueryTables ParseQueryOutput(const std::string& output);

// The component exit code for each exit code of the flash utility.
extern const EngineCodeTable kEngineCodes;

// Component exit code for the flash utility's exit status (kEngineCodes).
int ExitCodeForEngineCode(int engineCode);

class CComponent : public CBaseCmp {
 public:
  CComponent() = default;
  ~CComponent() override = default;

  std::wstring NormalizeVersion(std::wstring version) override;
  void DiscoverVendorDevices() override;
  int Flash() override;
  uint32_t FindReferenceDevice(std::wstring key) override;
};

}  // namespace ZelvokComp

#endif
