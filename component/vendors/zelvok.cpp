#include "component/vendors/zelvok.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "component/exit_codes.h"
#include "component/run_command.h"
#include "component/split_text.h"
#include "component/text_convert.h"
#include "component/vendors/flash_engine.h"
#include "component/vendors/vendor_common.h"
#include "component/whole_match.h"
#include "regex/pattern.h"

namespace ZelvokComp {
namespace {

const char* const kChmodCommand = "chmod 755 ./qvzvfwupdate";
const char* const kQueryCommand = "./qvzvfwupdate /q";
const char* const kUtility = "./qvzvfwupdate";

const EngineCodeRule kEngineCodeRules[] = {
    {0, 0, kExitSuccess},   {1, 1, kExitNothingDone},
    {2, 10, kExitFailure},  {11, 13, EngineCodeRule::kEngineCodeItself},
    {14, 14, kExitFailure}, {15, 15, EngineCodeRule::kEngineCodeItself},
    {16, 17, kExitFailure}, {18, 255, EngineCodeRule::kEngineCodeItself},
};

// Instance number as atoi reads it; -1 when it does not fit the tables.
int InstanceNumber(const std::string& text) {
  errno = 0;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value < 0 || value >= QueryTables::kInstances) return -1;
  return static_cast<int>(value);
}

// One line pattern; Value() gives group 1 of a whole-line match.
class LinePattern {
 public:
  explicit LinePattern(const char* text)
      : pattern_(Pattern::Compile(text, Pattern::DOT_MATCHES_ALL)) {}

  bool Value(const std::string& line, std::string& value) const {
    std::vector<std::string> groups;
    if (!pattern_ || !MatchWhole(*pattern_, line, groups)) return false;
    value = groups.empty() ? std::string() : groups[0];
    return true;
  }

 private:
  std::unique_ptr<Pattern> pattern_;
};

}  // namespace

QueryTables ParseQueryOutput(const std::string& output) {
  QueryTables tables;
  const LinePattern instancePattern("HBA Instance.*: (.+).*");
  const LinePattern imagePattern("Flash Image.*: (.+).*");
  const LinePattern portPattern("Port Name.*: (.+).*");

  const std::vector<std::string> lines = SplitText(output, '\n');
  int current = -1;  // no instance named yet
  std::string value;
  for (const std::string& line : lines) {
    if (instancePattern.Value(line, value)) current = InstanceNumber(value);
    if (imagePattern.Value(line, value) && current >= 0) {
      tables.versions[current] = NarrowToWide(value.c_str());
    }
    if (portPattern.Value(line, value) && current >= 0) {
      for (char& c : value) {
        if (c == '-') c = ':';
      }
      tables.portNames[current] = value;
    }
  }
  const std::size_t count = lines.size() / 5;
  tables.instanceCount =
      count < QueryTables::kInstances ? static_cast<int>(count) : QueryTables::kInstances;
  return tables;
}

const EngineCodeTable kEngineCodes(kEngineCodeRules);

int ExitCodeForEngineCode(int engineCode) { return kEngineCodes.ExitCode(engineCode); }

// Part of the interface; nothing calls it: the Zelvok discovery keeps versions as printed.
std::wstring CComponent::NormalizeVersion(std::wstring version) {
  const std::size_t blank = version.find(L' ');
  if (blank != std::wstring::npos) version.erase(blank);
  const std::size_t prefix = version.find(L"v.");
  if (prefix != std::wstring::npos) version.erase(prefix, 2);
  return version;
}

void CComponent::DiscoverVendorDevices() {
  RunIgnoringStatus(kChmodCommand);
  const QueryTables tables = ParseQueryOutput(RunCommand(kQueryCommand));

  for (std::size_t j = 0; j < inventory.Count(); ++j) {
    std::wstring key;
    const RefDevice* ref = ReferenceForRecord(*this, j, key);
    if (ref == nullptr) continue;

    std::wstring active;
    const char* portWwn = inventory.At(j)->PortWwn;
    for (int k = 0; k < tables.instanceCount; ++k) {
      if (std::strcmp(portWwn, tables.portNames[k].c_str()) == 0) active = tables.versions[k];
    }
    discovery.devices.push_back(MakeVendorDevice(ref->device_id, ref->model, L"Multiboot Image",
                                                 ref->boot, active, ref->duration));
  }
}

uint32_t CComponent::FindReferenceDevice(std::wstring key) {
  const uint32_t exact = CBaseCmp::FindReferenceDevice(key);
  if (exact != kNoReference || key.empty()) return exact;

  const std::wstring upperKey = ToUpper(key);
  for (std::size_t i = 0; i < reference.devices.size(); ++i) {
    const std::wstring id(reference.devices[i].device_id.c_str());  // up to the first NUL
    if (ToUpper(id).find(upperKey) != std::wstring::npos) return static_cast<uint32_t>(i);
  }
  return kNoReference;
}

int CComponent::Flash() {
  std::string cmd = kUtility;
  if (silent) cmd += " /s";
  if (force) cmd += " /f";
  return kEngineCodes.Report(log, RunFlashEngine(log, cmd, ShownCommand::kBare, kChmodCommand));
}

}  // namespace ZelvokComp
