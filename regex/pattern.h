// Public interface of the regular-expression engine (narrow and wide copies).
#ifndef REGEX_PATTERN_H
#define REGEX_PATTERN_H
#endif
