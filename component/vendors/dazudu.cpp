#include "component/vendors/dazudu.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <vector>

#include "component/engine_status.h"
#include "fchba/fixed_paths.h"
#include "regex/pattern.h"
#include "component/run_command.h"
#include "component/text_convert.h"

namespace DazuduComp {

const char* const kAdapterLinePattern =
    "HBA=(.+),.*PCI ID=(\\w{1,4}),.*VID=(\\w{1,4}),.*SSID=(\\w{1,4}),.*SVID=(\\w{1,4}),"
    ".*Firmware=(.+),.*Boot Code=([\\w\\.]+).*";

namespace {

constexpr const char* kEngine = "./dzflashStandalone*/lx/dzflash.sh";
constexpr const char* kSupportHost = "support.trovex.com";

// How one range of engine exit codes maps to the component's exit code.
struct EngineOutcome {
  int first;
  int last;
  const char* message;  // nullptr: nothing is logged
  bool advice;          // the converged-adapter advice line follows
  int exitCode;         // -1: the engine code itself
};

const EngineOutcome kOutcomes[] = {
    {0, 0, "All updates were successful.  Reboot needed.\n", false, 1},
    {1, 1, "No operation performed.  No updates needed or discovery command executed.\n", false, 3},
    {2, 6, "All updates failed.\n", false, 7},
    {7, 10, nullptr, false, -1},
    {11, 11, "All updates were successful.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
    {12, 12, "No updates needed.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
    {13, 13, "All updates failed.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
    {14, 14, "Some updates failed.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
    {15, 15, "No supported hardware found.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
    {16, 16, "No updates available.  Skipped any TX7040RM or VR4400K CNAs.\n", true, 7},
    {17, 255, nullptr, false, -1},
};

}  // namespace

int CComponent::PrepareKit() {
  log << "Preparing the Dazudu Kit...";
  RunCommand("unzip -o dzflashStandalone*.zip");
  log << "done\n";
  int status = std::system((std::string("chmod 777 ") + kEngine).c_str());
  (void)status;
  return 0;
}

std::string CComponent::PadId(std::string id) {
  if (id.size() < 4) id.insert(0, 4 - id.size(), '0');
  return id;
}

int CComponent::Flash() {
  std::string command = std::string(kEngine) + " /fc ";
  command += force ? " /f" : " /update";
  command += FixedPaths::LogRedirection();
  log << "Executing flash engine: " << command << "\n";
  int status = std::system(command.c_str());
  int engineCode = EngineExitCode(status);
  log << "Flash Engine exit code: " << engineCode << "\n";
  for (const EngineOutcome& outcome : kOutcomes) {
    if (engineCode < outcome.first || engineCode > outcome.last) continue;
    if (outcome.message != nullptr) log << outcome.message;
    if (outcome.advice) {
      log << std::string(
                 "For TX7040RM or VR4400K CNAs, please use the \"Firmware image for offline "
                 "update\" (Converged Adapter ISO) tool available on ") +
                 kSupportHost + "\n";
    }
    return outcome.exitCode < 0 ? engineCode : outcome.exitCode;
  }
  return engineCode;
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

// The query output cut at each '\n'; a '\r' before it stays in the line.
std::vector<std::string> OutputLines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream stream(output);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
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
  std::unique_ptr<Pattern> pattern(Pattern::Compile(kAdapterLinePattern, Pattern::DOT_MATCHES_ALL));
  if (!pattern) return false;
  std::unique_ptr<Matcher> matcher(pattern->CreateMatcher(line));
  if (!matcher || !matcher->Matches()) return false;
  groups = matcher->GetGroups(false);
  return groups.size() > kBootCode;
}

}  // namespace

bool CComponent::Discover() {
  if (PrepareKit() != 0) return false;
  for (const std::string& line : OutputLines(RunCommand(kQueryCommand))) {
    std::vector<std::string> groups;
    if (!MatchAdapterLine(line, groups)) continue;
    const std::string vendorId = PadId(groups[kVendorId]);
    const std::string deviceId = PadId(groups[kDeviceId]);
    const std::string subsystemVendorId = PadId(groups[kSubsystemVendorId]);
    const std::string subsystemId = PadId(groups[kSubsystemId]);
    const std::string key = vendorId + "." + deviceId + "." + subsystemVendorId + "." + subsystemId;
    const std::wstring wideKey = NarrowToWide(key.c_str());
    const int32_t index = static_cast<int32_t>(FindReferenceDevice(wideKey));
    // A negative index is the not-found value; an index past the list is
    // treated the same way rather than read out of bounds.
    if (index < 0 || static_cast<std::size_t>(index) >= reference.devices.size()) continue;
    const RefDevice& found = reference.devices[static_cast<std::size_t>(index)];

    DeviceInfo device;
    device.device_id = wideKey;
    device.product_id = found.model;
    device.items.push_back(FirmwareItem(groups[kModel], groups[kFirmware], found));
    if (found.biosFlag != 0)
      device.items.push_back(BootItem(groups[kModel], groups[kBootCode], found));
    discovery.devices.push_back(device);
  }
  return true;
}

// Everything from the first blank on is dropped.
std::wstring CComponent::NormalizeVersion(std::wstring version) {
  const std::size_t blank = version.find(L' ');
  if (blank != std::wstring::npos) version.erase(blank);
  return version;
}

}  // namespace DazuduComp
