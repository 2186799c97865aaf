#include "base_cmp.h"

// Distribution detection; leaves the OS name empty for now.
int CBaseCmp::DetectOs() { return 0; }
