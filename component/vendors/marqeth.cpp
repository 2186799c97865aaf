#include "component/vendors/marqeth.h"

#include <limits>
#include <sstream>
#include <vector>

#include "component/exit_codes.h"
#include "component/text_convert.h"
#include "component/vendors/flash_engine.h"
#include "component/vendors/vendor_common.h"
#include "component/whole_match.h"
#include "regex/pattern.h"

namespace MarqethComp {
namespace {

const char* const kChmodCommand = "chmod 777 ./mqu_bootupdate";

// Any status but 0 is a failure (the first row that holds a code decides).
const EngineCodeRule kEngineCodeRules[] = {
    {0, 0, kExitSuccess},
    {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), kExitFailure},
};

// Group 1 of a whole-text match of pattern (compiled with DOT_MATCHES_ALL),
// or false when the text does not match.
bool WideGroup(const wchar_t* pattern, const std::wstring& text, std::wstring& group) {
  std::vector<std::wstring> groups;
  if (!CompileAndMatchWhole<UPattern>(pattern, UPattern::DOT_MATCHES_ALL, text, groups)) {
    return false;
  }
  group = groups.empty() ? std::wstring() : groups[0];
  return true;
}

}  // namespace

const EngineCodeTable kEngineCodes(kEngineCodeRules);

std::wstring CComponent::NormalizeVersion(std::wstring version) {
  std::wstring group;
  if (WideGroup(L".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", version, group)) return group;
  return version;
}

void CComponent::DiscoverVendorDevices() {
  for (std::size_t j = 0; j < inventory.Count(); ++j) {
    std::wstring key;
    const RefDevice* ref = ReferenceForRecord(*this, j, key);
    if (ref == nullptr) continue;
    const std::wstring active = NormalizeVersion(NarrowToWide(inventory.At(j)->OptionRomVersion));
    discovery.devices.push_back(
        MakeVendorDevice(key, ref->model, L"Boot BIOS ROM", ref->bios, active, ref->duration));
  }
}

int CComponent::Flash() {
  const std::string cmd = std::string("./mqu_bootupdate boot --update ") + "mqa_boot_fw" + " -a";
  return kEngineCodes.Report(log, RunFlashEngine(log, cmd, ShownCommand::kBare, kChmodCommand));
}

// Part of the component's interface; no step of the run checks the kernel, so nothing calls it.
bool CComponent::CheckKernelVersion() { return CheckKernelVersion(&::uname); }

bool CComponent::CheckKernelVersion(int (*unameFn)(struct utsname*)) {
  struct utsname name;
  if (unameFn(&name) != 0) {
    log << std::string("Failed to read kernel version.\n");
    return false;
  }
  const std::wstring release = NarrowToWide(name.release);
  std::wstring numbers;
  if (!WideGroup(L"(\\d+\\.\\d+\\.\\d+).*", release, numbers)) {
    log << std::string("uname -r: ") << release << std::string(" is not in a proper format.\n");
    return false;
  }

  unsigned long a = 0, b = 0, c = 0;
  wchar_t separator = 0;
  std::wistringstream in(numbers);
  in >> a >> separator >> b >> separator >> c;
  log << std::string("Kernel : ") << static_cast<int>(a) << std::string("  ")
      << std::string("major : ") << static_cast<int>(b) << std::string("  ")
      << std::string("minor : ") << static_cast<int>(c) << std::string("\n");

  if (a > 2) return true;
  if (a == 2 && b == 6) return c > 31;
  if (a == 2 && b > 6) return true;
  return false;
}

}  // namespace MarqethComp
