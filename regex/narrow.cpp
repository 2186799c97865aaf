// The narrow copy of the engine, over std::string.
#include "regex/engine.h"

template class BasicPattern<NarrowTraits>;
template class BasicMatcher<NarrowTraits>;
