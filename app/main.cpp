#include <iostream>

#include "component/exit_codes.h"
#include "component/vendors/dazudu.h"

int main(int argc, char* argv[]) {
  int exitCode = kExitNothingDone;
  {
    DazuduComp::CComponent component;
    int parsed = component.ParseCommandLine(argc, argv);
    if (parsed == CBaseCmp::kCommandLineError) {
      std::cout << "ERROR! : Failed to parse command line" << std::endl;
      exitCode = kExitFailure;
    } else if (parsed == CBaseCmp::kCommandLineUsage) {
      exitCode = kExitNothingDone;
    } else {
      exitCode = component.Run();
    }
  }
  return exitCode;
}
