#include <iostream>

#include "component/closed_console.h"
#include "component/exit_codes.h"
#include "component/own_file.h"
#include "component/run_lock.h"
#include "component/run_signals.h"
#include "component/vendors/dazudu.h"
#include "fchba/fixed_paths.h"

int main(int argc, char* argv[]) {
  // Before anything is made or started: nothing a run makes is writable by
  // others, and a hang-up ends nothing of it.
  IgnoreHangUps();
  KeepNewFilesFromOthers();
  KeepRunningWhenConsoleCloses();
  int exitCode = kExitNothingDone;
  // Taken once the command line asks for a run; held until the process ends.
  CRunLock runLock(FixedPaths::Resolve(FixedPaths::kLockFile),
                   FixedPaths::Resolve(FixedPaths::kSpareLockFile));
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
