// Every definition of the engine templates; included by the two files that
// instantiate the narrow and the wide copy.
#ifndef REGEX_ENGINE_H
#define REGEX_ENGINE_H

#include "regex/class_text_impl.h"
#include "regex/escapes_impl.h"
#include "regex/matcher_impl.h"
#include "regex/memo_plan_impl.h"
#include "regex/parser_impl.h"
#include "regex/pattern_impl.h"

#endif
