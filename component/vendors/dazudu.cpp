#include "component/vendors/dazudu.h"

#include <algorithm>
#include <vector>

#include "component/exit_codes.h"
#include "component/run_command.h"
#include "component/split_text.h"
#include "component/text_convert.h"
#include "component/vendors/flash_engine.h"
#include "component/vendors/vendor_common.h"
#include "component/whole_match.h"
#include "regex/pattern.h"

namespace DazuduComp {

const char* const kAdapterLinePattern =
    "HBA=(.+),.*PCI ID=(\\w{1,4}),.*VID=(\\w{1,4}),.*SSID=(\\w{1,4}),.*SVID=(\\w{1,4}),"
    ".*Firmware=(.+),.*Boot Code=([\\w\\.]+).*";

namespace {

constexpr const char* kEngine = "./dzflashStandalone*/lx/dzflash.sh";

// Logged after the message of every engine code that reports skipped
// converged adapters; it names the support site of the system's vendor.
constexpr const char* kConvergedAdvice =
    "For TX7040RM or VR4400K CNAs, please use the \"Firmware image for offline update\" "
    "(Converged Adapter ISO) tool available on support.trovex.com\n";

// A run that skipped converged adapters is a failure, whatever its first
// sentence says.
const EngineCodeRule kEngineCodeRules[] = {
    {0, 0, kExitSuccess, "All updates were successful.  Reboot needed.\n"},
    {1, 1, kExitNothingDone,
     "No operation performed.  No updates needed or discovery command executed.\n"},
    {2, 6, kExitFailure, "All updates failed.\n"},
    {7, 10, EngineCodeRule::kEngineCodeItself},
    {11, 11, kExitFailure, "All updates were successful.  Skipped any TX7040RM or VR4400K CNAs.\n",
     kConvergedAdvice},
    {12, 12, kExitFailure, "No updates needed.  Skipped any TX7040RM or VR4400K CNAs.\n",
     kConvergedAdvice},
    {13, 13, kExitFailure, "All updates failed.  Skipped any TX7040RM or VR4400K CNAs.\n",
     kConvergedAdvice},
    {14, 14, kExitFailure, "Some updates failed.  Skipped any TX7040RM or VR4400K CNAs.\n",
     kConvergedAdvice},
    {15, 15, kExitFailure, "No supported hardware found.  Skipped any TX7040RM or VR4400K CNAs.\n",
     kConvergedAdvice},
    {16, 16, kExitFailure, "No updates available.  Skipped any TX7040RM or VR4400K CNAs.\n",
     kConvergedAdvice},
    {17, 255, EngineCodeRule::kEngineCodeItself},
};

}  // namespace

const EngineCodeTable kEngineCodes(kEngineCodeRules);

int CComponent::PrepareKit() {
  log << "Preparing the Dazudu Kit...";
  RunCommand("unzip -o dzflashStandalone*.zip");
  log << "done\n";
  RunIgnoringStatus(std::string("chmod 777 ") + kEngine);
  return 0;
}

std::string CComponent::PadId(std::string id) {
  if (id.size() < 4) id.insert(0, 4 - id.size(), '0');
  return id;
}

// The force switch replaces "/update"; the logged line is the one run, log
// redirection included.
int CComponent::Flash() {
  const std::string command = std::string(kEngine) + " /fc " + (force ? " /f" : " /update");
  return kEngineCodes.Report(log, RunFlashEngine(log, command, ShownCommand::kRedirected, nullptr));
}

// Discovery

namespace {

constexpr const char* kQueryCommand = "./dzflashStandalone*/lx/dzflash.sh /q /fc";

// Indices into the groups of one matched line (groups 1 to 7).
enum AdapterGroup {
  kModel,
  kDeviceId,
  kVendorId,
  kSubsystemId,
  kSubsystemVendorId,
  kFirmware,
  kBootCode
};

// Models whose fixed firmware version replaces the reference file's, in the
// order they are tried.
struct FixedFirmware {
  const char* model;
  const wchar_t* version;
};
const FixedFirmware kFixedFirmware[] = {
    {"DZe160", L"12.4.270.3"},
    {"DZe320", L"12.4.270.5"},
    {"DZe310", L"12.4.270.5"},
    {"DZe350", L"12.4.270.5"},
};

bool Contains(const std::string& text, const char* word) {
  return text.find(word) != std::string::npos;
}

// The engine prefixes version texts with two characters, except for the
// models that print them whole. A group too short to hold the prefix gives
// an empty version rather than a failed cut.
std::string InstalledVersion(const std::string& group, bool whole) {
  if (whole) return group;
  return group.size() > 2 ? group.substr(2) : std::string();
}

std::wstring WithoutDots(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'.'), text.end());
  return text;
}

// Compares the digits before the first non-digit, then what follows that
// character; the character itself is not compared. A text of digits only
// (or the empty text) takes part with an empty head and rest.
int SplitCompare(const std::wstring& available, const std::wstring& installed) {
  struct Split {
    std::wstring head;
    std::wstring rest;
  };
  auto split = [](const std::wstring& text) {
    Split parts;
    const std::size_t at = text.find_first_not_of(L"0123456789");
    if (at != std::wstring::npos) {
      parts.head = text.substr(0, at);
      parts.rest = text.substr(at + 1);
    }
    return parts;
  };
  const Split a = split(available);
  const Split b = split(installed);
  const int result = CBaseCmp::CompareVersions(a.head, b.head);
  return result != 0 ? result : CBaseCmp::CompareVersions(a.rest, b.rest);
}

const FixedFirmware* FixedFirmwareFor(const std::string& model) {
  for (const FixedFirmware& fixed : kFixedFirmware) {
    if (Contains(model, fixed.model)) return &fixed;
  }
  return nullptr;
}

FwItem FirmwareItem(const std::string& model, const std::string& group,
                    const RefDevice& reference) {
  const FixedFirmware* fixed = FixedFirmwareFor(model);
  const bool whole = fixed != nullptr || Contains(model, "DCe");
  FwItem item;
  item.type = L"Firmware";
  item.version = reference.firmware;
  item.active_version = NarrowToWide(InstalledVersion(group, whole).c_str());
  if (fixed != nullptr) {
    item.version = fixed->version;
  } else if (item.version.find(L'.') == std::wstring::npos) {
    item.active_version = WithoutDots(item.active_version);
  }
  const bool split = Contains(model, "DZe120") || Contains(model, "DZe110");
  item.action =
      CBaseCmp::ActionText(split ? SplitCompare(item.version, item.active_version)
                                 : CBaseCmp::CompareVersions(item.version, item.active_version));
  item.duration = reference.duration;
  item.shared = L"no";
  return item;
}

FwItem BootItem(const std::string& model, const std::string& group, const RefDevice& reference) {
  FwItem item;
  item.type = L"Boot BIOS ROM";
  item.version = reference.bios;
  item.active_version = NarrowToWide(InstalledVersion(group, Contains(model, "DCe")).c_str());
  item.action = CBaseCmp::ActionText(SplitCompare(item.version, item.active_version));
  item.duration = reference.duration;
  return item;
}

// The groups of a whole-line match, or false when the line has another
// shape. The pattern is compiled for this line and released with it.
bool MatchAdapterLine(const std::string& line, std::vector<std::string>& groups) {
  return CompileAndMatchWhole<Pattern>(kAdapterLinePattern, Pattern::DOT_MATCHES_ALL, line,
                                       groups) &&
         groups.size() > kBootCode;
}

}  // namespace

bool CComponent::Discover() {
  // The interface lets a kit preparation fail discovery; the Dazudu one always returns 0.
  if (PrepareKit() != 0) return false;
  // The query output cut at each '\n'; a '\r' before it stays in the line.
  for (const std::string& line : SplitText(RunCommand(kQueryCommand), '\n')) {
    std::vector<std::string> groups;
    if (!MatchAdapterLine(line, groups)) continue;
    const std::string vendorId = PadId(groups[kVendorId]);
    const std::string deviceId = PadId(groups[kDeviceId]);
    const std::string subsystemVendorId = PadId(groups[kSubsystemVendorId]);
    const std::string subsystemId = PadId(groups[kSubsystemId]);
    const std::string key = vendorId + "." + deviceId + "." + subsystemVendorId + "." + subsystemId;
    const std::wstring wideKey = NarrowToWide(key.c_str());
    const RefDevice* found = ReferenceDeviceFor(*this, wideKey);
    if (found == nullptr) continue;

    DeviceInfo device;
    device.device_id = wideKey;
    device.product_id = found->model;
    device.items.push_back(FirmwareItem(groups[kModel], groups[kFirmware], *found));
    if (found->biosFlag != 0)
      device.items.push_back(BootItem(groups[kModel], groups[kBootCode], *found));
    discovery.devices.push_back(device);
  }
  return true;
}

// Everything from the first blank on is dropped.
// Part of the interface; nothing calls it: the Dazudu discovery keeps versions as printed.
std::wstring CComponent::NormalizeVersion(std::wstring version) {
  const std::size_t blank = version.find(L' ');
  if (blank != std::wstring::npos) version.erase(blank);
  return version;
}

}  // namespace DazuduComp
