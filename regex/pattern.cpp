#include "pattern.h"
