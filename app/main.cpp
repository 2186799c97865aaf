#include <iostream>

#include "component/closed_console.h"
#include "component/exit_codes.h"
#include "component/run_lock.h"
#include "component/vendors/dazudu.h"
#include "fchba/fixed_paths.h"

int main(int argc, char* argv[]) {
  KeepRunningWhenConsoleCloses();
  int exitCode = kExitNothingDone;
  // Taken once the command line asks for a run; held until the process ends.
  CRunLock runLock(FixedPaths::Resolve(FixedPaths::kLockFile));
  {
    DazuduComp::CComponent component;
    int parsed = component.ParseCommandLine(argc, argv);
    if (parsed == CBaseCmp::kCommandLineError) {
      std::cout << "ERROR! : Failed to parse command line" << std::endl;
      exitCode = kExitFailure;
    } else if (parsed == CBaseCmp::kCommandLineUsage) {
      exitCode = kExitNothingDone;
    } else {
      runLock.Take(component.silent ? nullptr : &std::cout);
      exitCode = component.Run();
    }
  }
  return exitCode;
}
