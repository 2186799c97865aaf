// Running a vendor's flash engine in update mode, the same way for every
// vendor component: the command and the engine's exit code are logged, and
// the engine's own output is appended to the component log file.
#ifndef COMPONENT_VENDORS_FLASH_ENGINE_H
#define COMPONENT_VENDORS_FLASH_ENGINE_H

#include <string>

#include "component/logger.h"

// What the "Executing flash engine: " line shows of the command.
enum class ShownCommand {
  kBare,        // the engine's own command line
  kRedirected,  // the line as it is run, the log redirection included
};

// Logs "Executing flash engine: ", the command as shown and "\n"; runs
// chmodCommand through the shell when one is given (its status is ignored);
// runs command with its streams 1, 2 and 3 appended to the component log
// file; logs "Flash Engine exit code: ", the engine code and "\n", and returns
// that code: the shell's exit status (0 to 255), or 128 plus the signal
// number when the shell itself was killed (EngineExitCode). From just before
// the engine starts, a SIGTERM to the program is held until the run sequence
// has logged the flash's outcome (run_signals.h). Where the log path is not
// safe to hand to a shell (CLogger::CommandsMayAppend) the engine is not
// started and the code is 2, what the shell gives a command whose
// redirection it cannot open.
int RunFlashEngine(CLogger& log, const std::string& command, ShownCommand shown,
                   const char* chmodCommand);

#endif
