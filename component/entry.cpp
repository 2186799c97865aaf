#include "component/entry.h"

#include <iostream>

#include "component/closed_console.h"
#include "component/exit_codes.h"
#include "component/own_file.h"
#include "component/run_signals.h"
#include "fchba/fixed_paths.h"

void PrepareProcess() {
  IgnoreHangUps();
  KeepNewFilesFromOthers();
  KeepRunningWhenConsoleCloses();
}

CRunLock MakeRunLock() {
  return CRunLock(FixedPaths::Resolve(FixedPaths::kLockFile),
                  FixedPaths::Resolve(FixedPaths::kSpareLockFile));
}

int ParseAndRun(CBaseCmp& component, int argc, char* argv[], CRunLock& runLock) {
  const int parsed = component.ParseCommandLine(argc, argv);
  if (parsed == CBaseCmp::kCommandLineError) {
    std::cout << "ERROR! : Failed to parse command line" << std::endl;
    return kExitFailure;
  }
  if (parsed == CBaseCmp::kCommandLineUsage) return kExitNothingDone;
  // Taken once the command line asks for a run; held until the process ends.
  runLock.Take(component.silent ? nullptr : &std::cout);
  return component.Run();
}
