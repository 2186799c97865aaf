#include <iostream>

#include "component/vendors/dazudu.h"

int main(int argc, char* argv[]) {
  int exitCode = 3;
  {
    DazuduComp::CComponent component;
    int parsed = component.ParseCommandLine(argc, argv);
    if (parsed == 0) {
      std::cout << "ERROR! : Failed to parse command line" << std::endl;
      exitCode = 7;
    } else if (parsed == 2) {
      exitCode = 3;
    } else {
      exitCode = component.Run();
    }
  }
  return exitCode;
}
