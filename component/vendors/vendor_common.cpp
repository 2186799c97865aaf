#include "vendor_common.h"

#include <sys/wait.h>

#include <cstdlib>

#include "base_cmp.h"
#include "fixed_paths.h"

namespace {

const wchar_t* ActionText(int comparison) {
  if (comparison > 0) return L"upgrade";
  if (comparison < 0) return L"downgrade";
  return L"rewrite";
}

}  // namespace

const RefDevice* ReferenceForRecord(CBaseCmp& component, std::size_t index, std::wstring& key) {
  key = component.BuildDeviceKey(static_cast<int32_t>(index));
  const int32_t found = static_cast<int32_t>(component.FindReferenceDevice(key));
  if (found < 0 || static_cast<std::size_t>(found) >= component.reference.devices.size()) {
    return nullptr;
  }
  return &component.reference.devices[static_cast<std::size_t>(found)];
}

DeviceInfo MakeVendorDevice(const std::wstring& deviceId, const std::wstring& productId,
                            const std::wstring& itemType, const std::wstring& version,
                            const std::wstring& activeVersion, const std::wstring& duration) {
  FwItem item;
  item.type = itemType;
  item.version = version;
  item.active_version = activeVersion;
  item.action = ActionText(CBaseCmp::CompareVersions(version, activeVersion));
  item.duration = duration;
  item.shared = L"no";

  DeviceInfo device;
  device.device_id = deviceId;
  device.product_id = productId;
  device.items.push_back(item);
  return device;
}

int RunFlashUtility(CLogger& log, const std::string& command, const char* chmodCommand) {
  log << std::string("Executing flash engine: ") << command << std::string("\n");
  const std::string redirected = command + FixedPaths::LogRedirection();
  int chmodStatus = std::system(chmodCommand);
  (void)chmodStatus;

  const int status = std::system(redirected.c_str());
  // A shell killed by a signal leaves 0 in the exit-status bits; report the
  // signal the way a shell reports a killed command, never as success.
  const int code =
      (status != -1 && WIFSIGNALED(status)) ? 128 + WTERMSIG(status) : (status & 0xff00) >> 8;
  log << std::string("Flash Engine exit code: ") << code << std::string("\n");
  return code;
}
