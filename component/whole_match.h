// Matching a pattern against a whole text and taking its groups: how the
// vendor components read a line of tool output or a version text.
#ifndef COMPONENT_WHOLE_MATCH_H
#define COMPONENT_WHOLE_MATCH_H

#include <memory>
#include <vector>

#include "regex/pattern.h"

// True when pattern matches the whole of text; groups then holds the texts of
// groups 1, 2, ... (an unset group gives the empty text). On no match groups
// is left as it was. Works on either copy of the engine (Pattern, UPattern).
template <class PatternT>
bool MatchWhole(PatternT& pattern, const typename PatternT::String& text,
                std::vector<typename PatternT::String>& groups) {
  std::unique_ptr<typename PatternT::Matcher> matcher(pattern.CreateMatcher(text));
  if (!matcher || !matcher->Matches()) return false;
  groups = matcher->GetGroups(false);
  return true;
}

// The same with a pattern compiled from patternText and flags for this one
// text and released before returning; false also when it does not compile.
template <class PatternT>
bool CompileAndMatchWhole(const typename PatternT::String& patternText, unsigned long flags,
                          const typename PatternT::String& text,
                          std::vector<typename PatternT::String>& groups) {
  std::unique_ptr<PatternT> pattern(PatternT::Compile(patternText, flags));
  return pattern != nullptr && MatchWhole(*pattern, text, groups);
}

#endif
