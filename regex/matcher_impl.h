// The match state of one pattern over one text: whole-text match, finds,
// groups, group-reference expansion.
#ifndef REGEX_MATCHER_IMPL_H
#define REGEX_MATCHER_IMPL_H

#include <algorithm>

#include "regex/failure_table.h"
#include "regex/literal_index.h"
#include "regex/node.h"
#include "regex/pattern.h"

template <class T>
BasicMatcher<T>::BasicMatcher(Pattern* p, const String& t)
    : groupCount(p->GroupCount()), nonCapGroupCount(-p->NonCapGroupCount()), pattern(p), text(t) {
  const int n = groupCount + nonCapGroupCount;
  const size_t ints = 5 * static_cast<size_t>(n);
  int* arrays = inlineStorage;
  if (ints > kInlineInts) {
    heapStorage.reset(new int[ints]);
    arrays = heapStorage.get();
  }
  std::fill(arrays, arrays + ints, -1);
  int* base = arrays + nonCapGroupCount;
  groupStarts = base;
  groupEnds = base + n;
  loopCounts = base + 2 * n;
  loopStarts = base + 3 * n;
  loopSavedCounts = base + 4 * n;
  for (int g = 0; g < groupCount; ++g) groupStarts[g] = groupEnds[g] = 0;
}

template <class T>
BasicMatcher<T>::~BasicMatcher() = default;

// Forgets the table (a new text, or another mode).
template <class T>
void BasicMatcher<T>::DropTable() {
  failures.reset();
  literals.reset();
}

// Indices are ints: a text too long for them never matches. The failure
// table of earlier operations on the same text serves again when the mode
// (whole text or find) is the same; the Start and End nodes are the only
// nodes that read the mode, and they decide what a failure means.
template <class T>
int BasicMatcher<T>::RunHead(int at) {
  savedGroups.clear();
  if (failures && memoFlags != matchFlags) DropTable();
  const RegexLimits::MatchLimits& limits = RegexLimits::MatchLimitsInForce::Get();
  const bool tableDue = !failures && limits.rememberAfterSteps <= limits.maxMatchSteps;
  budget.Start(tableDue ? limits.rememberAfterSteps : Budget::kNever, limits.maxMatchSteps,
               text.size() >= static_cast<size_t>(RegexLimits::kNoUpperBound));
  return budget.Exhausted() ? -1 : pattern->Head()->Match(text, this, at);
}

template <class T>
void BasicMatcher<T>::SwitchOnTable() {
  const RegexEngine::MemoPlan& plan = pattern->Plan();
  failures.reset(new RegexEngine::FailureTable(plan, text.size()));
  literals.reset(new RegexEngine::LiteralIndex(RegexLimits::kMaxRememberBytes - failures->Bytes()));
  memoFlags = matchFlags;
}

template <class T>
void BasicMatcher<T>::ClearGroups() {
  lastMatchEnd = 0;
  for (int g = 0; g < groupCount; ++g) groupStarts[g] = groupEnds[g] = loopCounts[g] = -1;
  for (int g = 1; g <= nonCapGroupCount; ++g) loopCounts[-g] = -1;
}

template <class T>
bool BasicMatcher<T>::Matches() {
  matchFlags = MATCH_WHOLE_TEXT;
  foundMatch = 0;
  exhausted = false;
  ClearGroups();
  lastMatchEnd = 0;
  int r = RunHead(0);
  return r == static_cast<int>(text.size());
}

template <class T>
bool BasicMatcher<T>::FindFirstMatch() {
  matchFlags = 0;
  exhausted = false;
  ClearGroups();
  searchStart = lastMatchEnd = 0;
  int r = RunHead(0);
  groupEnds[0] = r;
  if (r < 0) {
    exhausted = true;
    return false;
  }
  foundMatch = 1;
  return true;
}

template <class T>
bool BasicMatcher<T>::FindNextMatch() {
  if (foundMatch == 0) return FindFirstMatch();
  // After a find has answered false the matcher stays exhausted until Reset
  // or SetString: there is no previous match to continue from.
  if (exhausted) return false;
  int p = groupEnds[0];
  if (groupStarts[0] == p) ++p;
  matchFlags = 0;
  ClearGroups();
  groupStarts[0] = p;
  if (p >= static_cast<int>(text.size())) {
    exhausted = true;
    return false;
  }
  searchStart = lastMatchEnd = p;
  int r = RunHead(p);
  groupEnds[0] = r;
  if (r < 0) exhausted = true;
  return r >= 0;
}

template <class T>
typename BasicMatcher<T>::String BasicMatcher<T>::GetGroup(int g) const {
  if (g < 0 || g >= groupCount || groupStarts[g] < 0 || groupEnds[g] < groupStarts[g])
    return String();
  return text.substr(groupStarts[g], groupEnds[g] - groupStarts[g]);
}

template <class T>
std::vector<typename BasicMatcher<T>::String> BasicMatcher<T>::GetGroups(
    bool includeGroupZero) const {
  const int first = includeGroupZero ? 0 : 1;
  std::vector<String> out;
  out.reserve(static_cast<size_t>(std::max(groupCount - first, 0)));
  for (int g = first; g < groupCount; ++g) out.push_back(GetGroup(g));
  return out;
}

template <class T>
int BasicMatcher<T>::GetStartingIndex(int g) const {
  return (g < 0 || g >= groupCount) ? -1 : groupStarts[g];
}

template <class T>
int BasicMatcher<T>::GetEndingIndex(int g) const {
  return (g < 0 || g >= groupCount) ? -1 : groupEnds[g];
}

template <class T>
std::vector<typename BasicMatcher<T>::String> BasicMatcher<T>::FindAll() {
  std::vector<String> out;
  Reset();
  while (FindNextMatch()) out.push_back(GetGroup(0));
  return out;
}

template <class T>
typename BasicMatcher<T>::String BasicMatcher<T>::ReplaceWithGroups(
    const String& replacement) const {
  String out;
  const size_t n = replacement.size();
  for (size_t i = 0; i < n; ++i) {
    Char c = replacement[i];
    if (c != '\\') {
      out += c;
    } else if (i + 1 == n) {
      out += c;
    } else if (replacement[i + 1] >= '0' && replacement[i + 1] <= '9') {
      long long g = 0;
      while (i + 1 < n && replacement[i + 1] >= '0' && replacement[i + 1] <= '9') {
        if (g <= groupCount) g = g * 10 + (replacement[i + 1] - '0');
        ++i;
      }
      if (g < groupCount) out += GetGroup(static_cast<int>(g));
    } else {
      out += replacement[++i];
    }
  }
  return out;
}

template <class T>
void BasicMatcher<T>::Reset() {
  ClearGroups();
  lastMatchEnd = 0;
  foundMatch = 0;
  exhausted = false;
}

template <class T>
void BasicMatcher<T>::SetString(const String& newText) {
  text = newText;
  DropTable();
  knownRuns.reset();
  Reset();
}

#endif
