// Test entry program: the program's own entry with the Zelvok or the Marqeth
// component in place of the Dazudu one (chosen at build time), so that the
// end-to-end tests run those components through the whole run as the
// shipped program runs its own.
#include "component/entry.h"

#if defined(VENDOR_ZELVOK)
#include "component/vendors/zelvok.h"
using Component = ZelvokComp::CComponent;
#elif defined(VENDOR_MARQETH)
#include "component/vendors/marqeth.h"
using Component = MarqethComp::CComponent;
#else
#error "define VENDOR_ZELVOK or VENDOR_MARQETH"
#endif

int main(int argc, char* argv[]) { return RunProgram<Component>(argc, argv); }
