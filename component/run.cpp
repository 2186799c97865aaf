#include "component/base_cmp.h"
#include "component/exit_codes.h"
#include "component/run_signals.h"

int CBaseCmp::Run() {
  int result = kExitNothingDone;
  log << "---------------------------------------------------\n"
      << "Loading references...";
  if (!reference.Load()) {
    log << "FAILED!\n";
    return kExitFailure;
  }
  log << "done.\n";
  log << "Performing discovery...\n";
  DetectOs();
  if (!Discover()) return kExitFailure;
  if (discoveryMode) {
    log << "Generating self-discovery XML...";
    log << (WriteDiscoveryXml() ? "done.\n" : "FAILED!\n");
    return result;
  }
  if (GetOverallAction() != 1 && !force) {
    log << "NOTICE : No operation was done.\n";
    return result;
  }
  if (!HasDevices()) {
    log << "ERROR! : No supported hardware was found.\n";
    return result;
  }
  log << "Performing flash -- DO NOT INTERRUPT!\n";
  result = Flash();
  log << "Flash complete [" << result << "]\n";
  // The outcome is logged: a termination request held during the flash ends
  // the run now, with the flash's own code.
  ReleaseTermination();
  return result;
}

int CBaseCmp::GetOverallAction() {
  int bits = 0;
  for (const DeviceInfo& device : discovery.devices) {
    for (const FwItem& item : device.items) {
      if (item.action == L"downgrade")
        bits |= 4;
      else if (item.action == L"rewrite")
        bits |= 2;
      else if (item.action == L"upgrade")
        bits |= 1;
    }
  }
  if (bits & 1) return 1;
  if (bits & 4) return 4;
  if (bits & 2) return 2;
  return 0;
}

bool CBaseCmp::HasDevices() { return !discovery.devices.empty(); }
