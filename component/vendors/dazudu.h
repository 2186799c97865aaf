// DazuduComp::CComponent: the component for Dazudu adapters, driving the
// "dzflash.sh" engine of the stand-alone flash kit in the working directory.
#ifndef COMPONENT_VENDORS_DAZUDU_H
#define COMPONENT_VENDORS_DAZUDU_H

#include <string>

#include "component/base_cmp.h"
#include "component/vendors/engine_code_table.h"

namespace DazuduComp {

// The pattern that one adapter line of the engine's query output matches as
// a whole, compiled with dot-matches-all; its groups 1 to 7 are the model,
// PCI ID, VID, SSID, SVID, firmware and boot code.
extern const char* const kAdapterLinePattern;

// The component exit code and the messages for each exit code of the engine.
extern const EngineCodeTable kEngineCodes;

class CComponent : public CBaseCmp {
 public:
  CComponent() = default;
  ~CComponent() override = default;

  bool Discover() override;
  std::wstring NormalizeVersion(std::wstring version) override;
  int PrepareKit() override;
  int Flash() override;

  // Left-pads an id with '0' to four characters; longer ids stay unchanged.
  std::string PadId(std::string id);
};

}  // namespace DazuduComp

#endif
