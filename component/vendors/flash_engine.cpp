#include "component/vendors/flash_engine.h"

#include <cstdlib>

#include "component/engine_status.h"
#include "component/run_command.h"
#include "fchba/fixed_paths.h"

int RunFlashEngine(CLogger& log, const std::string& command, ShownCommand shown,
                   const char* chmodCommand) {
  const std::string redirected = command + FixedPaths::LogRedirection();
  log << std::string("Executing flash engine: ")
      << (shown == ShownCommand::kRedirected ? redirected : command) << std::string("\n");
  if (chmodCommand != nullptr) RunIgnoringStatus(chmodCommand);

  const int status = std::system(redirected.c_str());
  const int code = EngineExitCode(status);
  log << std::string("Flash Engine exit code: ") << code << std::string("\n");
  return code;
}
