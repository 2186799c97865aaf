#include "component/vendors/flash_engine.h"

#include <cstdlib>

#include "component/engine_status.h"
#include "component/run_command.h"
#include "component/run_signals.h"
#include "fchba/fixed_paths.h"

namespace {

// What the system shell (dash) gives a command whose redirection it cannot
// open: the engine is not started.
constexpr int kRedirectionFailed = 2;

}  // namespace

int RunFlashEngine(CLogger& log, const std::string& command, ShownCommand shown,
                   const char* chmodCommand) {
  const std::string redirected = command + FixedPaths::LogRedirection();
  log << std::string("Executing flash engine: ")
      << (shown == ShownCommand::kRedirected ? redirected : command) << std::string("\n");
  if (chmodCommand != nullptr) RunIgnoringStatus(chmodCommand);

  // A log path that a shell would follow to another file, wait on or write
  // into another user's file is not handed to one: the flash is reported as
  // one whose redirection the shell could not open.
  int code = kRedirectionFailed;
  if (log.CommandsMayAppend()) {
    HoldTerminationDuringFlash();
    code = EngineExitCode(std::system(redirected.c_str()));
  }
  log << std::string("Flash Engine exit code: ") << code << std::string("\n");
  return code;
}
