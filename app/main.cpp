#include <iostream>

#include "component/closed_console.h"
#include "component/run_lock.h"
#include "component/vendors/dazudu.h"
#include "fchba/fixed_paths.h"

int main(int argc, char* argv[]) {
  KeepRunningWhenConsoleCloses();
  int exitCode = 3;
  // Taken once the command line asks for a run; held until the process ends.
  CRunLock runLock(FixedPaths::Resolve(FixedPaths::kLockFile));
  {
    DazuduComp::CComponent component;
    int parsed = component.ParseCommandLine(argc, argv);
    if (parsed == 0) {
      std::cout << "ERROR! : Failed to parse command line" << std::endl;
      exitCode = 7;
    } else if (parsed == 2) {
      exitCode = 3;
    } else {
      runLock.Take(component.silent ? nullptr : &std::cout);
      exitCode = component.Run();
    }
  }
  return exitCode;
}
