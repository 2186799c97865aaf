#include "dazudu.h"

#include <cstdlib>

#include "fixed_paths.h"
#include "run_command.h"

namespace DazuduComp {

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
  int engineCode = (status & 0xFF00) >> 8;
  log << "Flash Engine exit code: " << engineCode << "\n";
  for (const EngineOutcome& outcome : kOutcomes) {
    if (engineCode < outcome.first || engineCode > outcome.last) continue;
    if (outcome.message != nullptr) log << outcome.message;
    if (outcome.advice) {
      log << std::string("For TX7040RM or VR4400K CNAs, please use the \"Firmware image for offline "
                         "update\" (Converged Adapter ISO) tool available on ") +
                 kSupportHost + "\n";
    }
    return outcome.exitCode < 0 ? engineCode : outcome.exitCode;
  }
  return engineCode;
}

// Discovery
bool CComponent::Discover() { return PrepareKit() == 0; }

std::wstring CComponent::NormalizeVersion(std::wstring version) { return version; }

}  // namespace DazuduComp
