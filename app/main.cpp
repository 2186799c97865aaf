#include "component/entry.h"
#include "component/vendors/dazudu.h"

int main(int argc, char* argv[]) { return RunProgram<DazuduComp::CComponent>(argc, argv); }
