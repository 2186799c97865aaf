// Every definition of the engine templates; included by the two files that
// instantiate the narrow and the wide copy.
#ifndef REGEX_ENGINE_H
#define REGEX_ENGINE_H

#include "class_text_impl.h"
#include "escapes_impl.h"
#include "matcher_impl.h"
#include "memo_plan_impl.h"
#include "parser_impl.h"
#include "pattern_impl.h"

#endif
