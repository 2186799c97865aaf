// Test entry program: the program's main with the Zelvok or the Marqeth
// component in place of the Dazudu one (chosen at build time), so that the
// end-to-end tests run those components through the whole run sequence.
#include <iostream>

#if defined(VENDOR_ZELVOK)
#include "component/vendors/zelvok.h"
using Component = ZelvokComp::CComponent;
#elif defined(VENDOR_MARQETH)
#include "component/vendors/marqeth.h"
using Component = MarqethComp::CComponent;
#else
#error "define VENDOR_ZELVOK or VENDOR_MARQETH"
#endif

int main(int argc, char* argv[]) {
  int exitCode = 3;
  {
    Component component;
    const int parsed = component.ParseCommandLine(argc, argv);
    if (parsed == 0) {
      std::cout << "ERROR! : Failed to parse command line" << std::endl;
      exitCode = 7;
    } else if (parsed != 2) {
      exitCode = component.Run();
    }
  }
  return exitCode;
}
