#include "component/base_cmp.h"

CBaseCmp::CBaseCmp() : log(), inventory(), reference(), discovery(), discoveryPath() {
  silent = false;
  discoveryMode = false;
  force = false;
}

CBaseCmp::~CBaseCmp() = default;

std::wstring CBaseCmp::NormalizeVersion(std::wstring version) { return version; }

int CBaseCmp::PrepareKit() { return 0; }

int CBaseCmp::Flash() { return 0; }

uint32_t CBaseCmp::FindReferenceDevice(std::wstring key) {
  for (std::size_t i = 0; i < reference.devices.size(); ++i) {
    if (wcscasecmp(key.c_str(), reference.devices[i].device_id.c_str()) == 0) {
      return static_cast<uint32_t>(i);
    }
  }
  return kNoReference;
}
