// Checks of the engine's own invariants where a mistake would otherwise pass
// unnoticed (reads and writes of the failure table). They are compiled in
// the Debug, sanitizer and fuzzing builds (REGEX_CHECKS, regex/CMakeLists.txt) and out
// of the shipped build; a failed check reports itself and aborts.
#ifndef REGEX_ENGINE_CHECK_H
#define REGEX_ENGINE_CHECK_H

#include <cstdio>
#include <cstdlib>

namespace RegexEngine {

[[noreturn]] inline void CheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: regex engine check failed: %s\n", file, line, condition);
  std::abort();
}

}  // namespace RegexEngine

#ifdef REGEX_CHECKS
#define REGEX_CHECK(condition) \
  ((condition) ? (void)0 : RegexEngine::CheckFailed(#condition, __FILE__, __LINE__))
#else
#define REGEX_CHECK(condition) ((void)0)
#endif

#endif
