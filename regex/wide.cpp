// The wide copy of the engine, over std::wstring.
#include "regex/engine.h"

template class BasicPattern<WideTraits>;
template class BasicMatcher<WideTraits>;
