#include "component/vendors/zelvok.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "regex/pattern.h"
#include "component/run_command.h"
#include "component/text_convert.h"
#include "component/vendors/vendor_common.h"

namespace ZelvokComp {
namespace {

const char* const kChmodCommand = "chmod 755 ./qvzvfwupdate";
const char* const kQueryCommand = "./qvzvfwupdate /q";
const char* const kUtility = "./qvzvfwupdate";

// Splits at each "\n"; a final run of text without a line end is a line too.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

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
    if (!pattern_) return false;
    std::unique_ptr<Matcher> matcher(pattern_->CreateMatcher(line));
    if (!matcher->Matches()) return false;
    const std::vector<std::string> groups = matcher->GetGroups(false);
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

  const std::vector<std::string> lines = SplitLines(output);
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

int ExitCodeForEngineCode(int engineCode) {
  switch (engineCode) {
    case 0:
      return 1;
    case 1:
      return 3;
    case 11:
    case 12:
    case 13:
    case 15:
      return engineCode;
    case 14:
    case 16:
    case 17:
      return 7;
    default:
      return (engineCode >= 2 && engineCode <= 10) ? 7 : engineCode;
  }
}

std::wstring CComponent::NormalizeVersion(std::wstring version) {
  const std::size_t blank = version.find(L' ');
  if (blank != std::wstring::npos) version.erase(blank);
  const std::size_t prefix = version.find(L"v.");
  if (prefix != std::wstring::npos) version.erase(prefix, 2);
  return version;
}

void CComponent::DiscoverVendorDevices() {
  int chmodStatus = std::system(kChmodCommand);
  (void)chmodStatus;
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
  return ExitCodeForEngineCode(RunFlashUtility(log, cmd, kChmodCommand));
}

}  // namespace ZelvokComp
