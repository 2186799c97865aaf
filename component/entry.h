// The program's entry, for whichever component class a program runs: the
// shipped program runs the Dazudu component, and the test entry programs run
// the Zelvok and Marqeth ones through the very same steps (the process set-up,
// the command line, the run lock, the run sequence).
#ifndef COMPONENT_ENTRY_H
#define COMPONENT_ENTRY_H

#include "component/base_cmp.h"
#include "component/run_lock.h"

// Before anything is made or started: nothing a run makes is writable by
// others, a hang-up ends nothing of it, and a console that goes away ends only
// the console output.
void PrepareProcess();

// The lock every run on the host takes, at its fixed path with its spare.
CRunLock MakeRunLock();

// Parses the command line into component and, when it asks for a run, takes
// runLock and runs the sequence. The process exit code.
int ParseAndRun(CBaseCmp& component, int argc, char* argv[], CRunLock& runLock);

// main: the process set-up, then one Component as a local object, destroyed
// before the exit code is returned. The run lock outlives the component and
// is held until the process ends.
template <class Component>
int RunProgram(int argc, char* argv[]) {
  PrepareProcess();
  CRunLock runLock = MakeRunLock();
  int exitCode;
  {
    Component component;
    exitCode = ParseAndRun(component, argc, argv, runLock);
  }
  return exitCode;
}

#endif
