// Compiling, the one-shot static forms, the member convenience forms, the
// named-pattern registry and the compiled-pattern cache.
#ifndef REGEX_PATTERN_IMPL_H
#define REGEX_PATTERN_IMPL_H

#include <algorithm>

#include "regex/anchor_nodes.h"
#include "regex/char_nodes.h"
#include "regex/matcher_impl.h"
#include "regex/memo_plan.h"
#include "regex/pattern.h"
#include "regex/structure_nodes.h"

// Room for the nodes of a short pattern from the start: the program compiles
// its line patterns once per line, so a line pattern takes one block of the
// arena and one registry.
template <class T>
BasicPattern<T>::BasicPattern(const String& text)
    : arena(std::min<std::size_t>(48 * text.size() + 256, 16384)), patternText(text) {
  nodeRegistry.reserve(std::min<std::size_t>(2 * text.size() + 8, 256));
}

// The nodes in the arena are destroyed in place (their memory goes with the
// arena); a node made with new and registered is deleted.
template <class T>
BasicPattern<T>::~BasicPattern() {
  delete internalMatcher;
  const bool allInArena = nodesInArena == nodeRegistry.size();
  for (Node* n : nodeRegistry) {
    if (allInArena || arena.Holds(n))
      n->~Node();
    else
      delete n;
  }
}

template <class T>
BasicPattern<T>* BasicPattern<T>::Compile(const String& pattern, unsigned long flags) {
  BasicPattern* p = new BasicPattern(pattern);
  p->flags = flags;
  Node* end = nullptr;
  if (flags & LITERAL) {
    Node* quote = (flags & CASE_INSENSITIVE)
                      ? static_cast<Node*>(p->NewNode<BasicCIQuoteNode<T>>(pattern))
                      : static_cast<Node*>(p->NewNode<BasicQuoteNode<T>>(pattern));
    p->head = p->NewNode<BasicStartNode<T>>();
    p->head->next = quote;
    end = quote;
    p->groupCount = 1;
  } else {
    Node* first = p->Parse(false, false, &end, 0, false);
    if (!first || !end) {
      delete p;
      return nullptr;
    }
    if (first->IsStartOfInputNode()) {
      p->head = first;
    } else {
      p->head = p->NewNode<BasicStartNode<T>>();
      p->head->next = first;
    }
  }
  p->Finish(end);
  return p;
}

// Appends the end node and lets every node prepare its fast paths.
template <class T>
void BasicPattern<T>::Finish(Node* end) {
  end->next = NewNode<BasicEndNode<T>>();
  for (Node* n : nodeRegistry) n->Prepare();
}

// The internal matcher, set to the text. It is made on first use: most
// patterns serve only the matchers their callers create, and a one-shot
// form makes it over its text at once.
template <class T>
typename BasicPattern<T>::Matcher* BasicPattern<T>::InternalMatcher(const String& text) {
  if (internalMatcher) {
    internalMatcher->SetString(text);
  } else {
    internalMatcher = new Matcher(this, text);
    internalMatcher->Reset();
  }
  return internalMatcher;
}

template <class T>
bool BasicPattern<T>::MatchesStatic(const String& pattern, const String& text,
                                    unsigned long flags) {
  BasicPattern* p = Compile(pattern, flags);
  if (!p) return false;
  bool answer = p->Matches(text);
  delete p;
  return answer;
}

template <class T>
std::pair<typename BasicPattern<T>::String, int> BasicPattern<T>::FindNthMatch(
    const String& pattern, const String& text, int n, unsigned long flags) {
  std::pair<String, int> result(String(), -1);
  BasicPattern* p = Compile(pattern, flags);
  if (!p) return result;
  Matcher* m = p->InternalMatcher(text);
  int count = -1;
  while (count < n && m->FindNextMatch()) ++count;
  if (count == n && n >= 0 && m->GetStartingIndex(0) >= 0)
    result = {m->GetGroup(0), m->GetStartingIndex(0)};
  delete p;
  return result;
}

template <class T>
std::vector<typename BasicPattern<T>::String> BasicPattern<T>::FindAllStatic(const String& pattern,
                                                                             const String& text,
                                                                             unsigned long flags) {
  BasicPattern* p = Compile(pattern, flags);
  if (!p) return {};
  std::vector<String> out = p->FindAll(text);
  delete p;
  return out;
}

template <class T>
std::vector<typename BasicPattern<T>::String> BasicPattern<T>::SplitStatic(const String& pattern,
                                                                           const String& text,
                                                                           bool keepEmpty,
                                                                           unsigned long limit,
                                                                           unsigned long flags) {
  BasicPattern* p = Compile(pattern, flags);
  if (!p) return {};
  std::vector<String> out = p->Split(text, keepEmpty, limit);
  delete p;
  return out;
}

template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ReplaceStatic(const String& pattern,
                                                                const String& text,
                                                                const String& replacement,
                                                                unsigned long flags) {
  BasicPattern* p = Compile(pattern, flags);
  if (!p) return String();
  String out = p->Replace(text, replacement);
  delete p;
  return out;
}

template <class T>
std::map<typename BasicPattern<T>::String,
         std::pair<typename BasicPattern<T>::String, unsigned long>>&
BasicPattern<T>::RegisteredPatterns() {
  static std::map<String, std::pair<String, unsigned long>> registry;
  return registry;
}

template <class T>
bool BasicPattern<T>::RegisterPattern(const String& name, const String& pattern,
                                      unsigned long flags) {
  BasicPattern* p = Compile(pattern, flags);
  if (!p) return false;
  RegisteredPatterns()[name] = std::make_pair(pattern, flags);
  delete p;
  return true;
}

template <class T>
void BasicPattern<T>::UnregisterPatterns() {
  RegisteredPatterns().clear();
}

// The cache is never destroyed: a cached pattern stays valid to the very end
// of the process, even for a static object that uses one in its own
// destructor. The map stays reachable through the static pointer, so leak
// checkers do not count what it holds at exit.
template <class T>
std::map<typename BasicPattern<T>::String, BasicPattern<T>*>& BasicPattern<T>::CompiledPatterns() {
  static auto* cache = new std::map<String, BasicPattern*>();
  return *cache;
}

template <class T>
BasicPattern<T>* BasicPattern<T>::GetCachedPattern(const String& pattern, unsigned long flags) {
  auto& cache = CompiledPatterns();
  auto it = cache.find(pattern);
  if (it != cache.end()) return it->second;
  BasicPattern* p = Compile(pattern, flags);
  cache[pattern] = p;
  return p;
}

template <class T>
void BasicPattern<T>::ClearPatternCache() {
  auto& cache = CompiledPatterns();
  for (auto& entry : cache) delete entry.second;
  cache.clear();
}

template <class T>
typename BasicPattern<T>::Matcher* BasicPattern<T>::CreateMatcher(const String& text) {
  return new Matcher(this, text);
}

template <class T>
bool BasicPattern<T>::Matches(const String& text) {
  return InternalMatcher(text)->Matches();
}

template <class T>
std::vector<typename BasicPattern<T>::String> BasicPattern<T>::FindAll(const String& text) {
  return InternalMatcher(text)->FindAll();
}

template <class T>
std::vector<typename BasicPattern<T>::String> BasicPattern<T>::Split(const String& text,
                                                                     bool keepEmpty,
                                                                     unsigned long limit) {
  if (limit == 0) limit = 0x7fffffff;
  std::vector<String> pieces;
  Matcher* m = InternalMatcher(text);
  int copy = 0;
  for (;;) {
    if (pieces.size() >= limit || !m->FindNextMatch()) {
      if (copy < static_cast<int>(text.size())) pieces.push_back(text.substr(copy));
      break;
    }
    const int start = m->GetStartingIndex(0);
    const int end = m->GetEndingIndex(0);
    if (start == end && !keepEmpty) continue;
    if (start > copy || keepEmpty) pieces.push_back(text.substr(copy, start - copy));
    copy = end;
  }
  return pieces;
}

template <class T>
typename BasicPattern<T>::String BasicPattern<T>::Replace(const String& text,
                                                          const String& replacement) {
  Matcher* m = InternalMatcher(text);
  String out;
  int copy = 0;
  while (m->FindNextMatch()) {
    out += text.substr(copy, m->GetStartingIndex(0) - copy);
    out += m->ReplaceWithGroups(replacement);
    copy = m->GetEndingIndex(0);
  }
  out += text.substr(copy);
  return out;
}

// The decimal value of the digits at first..last (0 when first > last),
// saturated at 0xFFFFFFFF so that an oversized bound stays recognisable.
template <class T>
unsigned int BasicPattern<T>::ParseInt(int first, int last) const {
  unsigned long long value = 0;
  for (int i = first; i <= last; ++i) {
    value = value * 10 + static_cast<unsigned long long>(patternText[i] - '0');
    if (value > 0xFFFFFFFFull) return 0xFFFFFFFFu;
  }
  return static_cast<unsigned int>(value);
}

#endif
