#include "fchba/pci_lookup.h"

#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "fchba/fixed_paths.h"
#include "fchba/shell_pipe.h"

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list copy;
  va_copy(copy, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], text.size() + 1, format, arguments);
  va_end(arguments);
  return text;
}

bool Exists(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}

// A directory is put into a command line unquoted, so it must consist of
// characters the shell takes literally.
bool IsShellSafe(const std::string& text) {
  for (const char c : text) {
    const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '/' || c == '.' || c == '_' || c == ':' || c == '-' || c == '+';
    if (!safe) return false;
  }
  return !text.empty();
}

// The device directory of a find output line, or "" for a line to pass over.
std::string CandidateDirectory(const std::string& line) {
  const std::size_t slash = line.rfind('/');
  if (slash == std::string::npos) return "";
  const std::string directory = line.substr(0, slash);
  if (!IsShellSafe(directory)) return "";
  if (!Exists(directory + "/subsystem_device") || !Exists(directory + "/vendor") ||
      !Exists(directory + "/device")) {
    return "";
  }
  return directory;
}

bool SubsystemIdsMatch(const std::string& directory, uint32_t subsystemVendor,
                       uint32_t subsystemDevice) {
  ShellPipe count(PciSubsystemMatchCommand(directory, subsystemVendor, subsystemDevice));
  std::string line;
  if (!count.ReadLine(&line)) return false;
  return std::strtol(line.c_str(), nullptr, 10) == 2;
}

std::string ReadVendorDevice(const std::string& directory) {
  ShellPipe ids(PciVendorDeviceCommand(directory));
  std::string vendor;
  std::string device;
  if (!ids.ReadLine(&vendor) || !ids.ReadLine(&device)) return "N/A";
  return Format("%.4x%.4x", static_cast<unsigned>(std::strtoul(vendor.c_str(), nullptr, 16)),
                static_cast<unsigned>(std::strtoul(device.c_str(), nullptr, 16)));
}

}  // namespace

std::string PciCandidatesCommand(uint8_t domain, uint8_t bus, uint8_t function) {
  return FixedPaths::SysfsFindCommand("subsystem_vendor") +
         Format(" | grep -i -e '%.4x:%.2x:\\(\\w\\)*\\.%x'", domain, bus, function);
}

std::string PciSubsystemMatchCommand(const std::string& directory, uint32_t subsystemVendor,
                                     uint32_t subsystemDevice) {
  return Format("cat %s/subsystem_vendor %s/subsystem_device | grep -i -E '%.4x|%.4x' | wc -l",
                directory.c_str(), directory.c_str(), subsystemVendor, subsystemDevice);
}

std::string PciVendorDeviceCommand(const std::string& directory) {
  return Format("cat %s/vendor %s/device", directory.c_str(), directory.c_str());
}

std::string LookupPciVendorDevice(uint8_t domain, uint8_t bus, uint8_t function,
                                  uint32_t subsystemVendor, uint32_t subsystemDevice) {
  std::string found;
  {
    ShellPipe candidates(PciCandidatesCommand(domain, bus, function));
    std::string line;
    while (candidates.ReadLine(&line)) {
      const std::string directory = CandidateDirectory(line);
      if (directory.empty()) continue;
      if (SubsystemIdsMatch(directory, subsystemVendor, subsystemDevice)) {
        found = directory;
        break;
      }
    }
  }
  return found.empty() ? "N/A" : ReadVendorDevice(found);
}
