// The base of every node of a compiled pattern's graph.
//
// A node tests one construct at an index of the text and hands the rest of
// the match to its successor: Match returns the index at which the match of
// the whole rest of the chain ends, or -1. Every call from one node into
// another goes through Run, which counts the nesting in the matcher and ends
// the attempt as a no-match before it could exhaust the stack.
//
// The narrow copy's debug printer adds Print(depth) at this level through
// NodePrintSlot (print_slots.h); the wide copy has none.
#ifndef REGEX_NODE_H
#define REGEX_NODE_H

#include <algorithm>
#include <map>
#include <vector>

#include "regex_limits.h"
#include "pattern.h"
#include "print_slots.h"

template <class T>
class BasicNode : public NodePrintSlot<T::kPrints> {
 public:
  using Char = typename T::Char;
  using String = typename T::String;
  using Matcher = BasicMatcher<T>;
  using Pattern = BasicPattern<T>;

  BasicNode() = default;
  BasicNode(const BasicNode&) = delete;
  BasicNode& operator=(const BasicNode&) = delete;
  virtual ~BasicNode() = default;

  // Gathers every node reachable from this one into the map, each once.
  void FindAllNodes(std::map<BasicNode*, bool>& found) {
    std::vector<BasicNode*> work{this};
    while (!work.empty()) {
      BasicNode* n = work.back();
      work.pop_back();
      if (!n || found.count(n)) continue;
      found[n] = true;
      if (n->next) work.push_back(n->next);
      n->AppendLinks(work);
    }
  }

  virtual int Match(const String& text, Matcher* m, int cur) const = 0;
  virtual bool IsGroupHeadNode() const { return false; }
  virtual bool IsStartOfInputNode() const { return false; }

  // ---- What the quantifiers and the start node use for their fast paths. ----
  // True when a match of this node consumes exactly one character, decided by
  // TestChar alone, and changes no matcher state.
  virtual bool IsSingleChar() const { return false; }
  virtual bool TestChar(Char) const { return false; }
  // True for a zero-width node that always hands on to its successor and
  // whose writes are undone when the successor fails.
  virtual bool IsTransparent() const { return false; }
  // The code of the one character this node needs at its index, or -1.
  virtual long RequiredChar() const { return -1; }
  // Links other than next (inner chains, alternatives).
  virtual void AppendLinks(std::vector<BasicNode*>&) const {}
  // Called once on every node after the whole graph is linked.
  virtual void Prepare() {}
  // The capturing group whose start or end this node records, or 0.
  virtual int CapturingGroup() const { return 0; }

  BasicNode* next = nullptr;

 protected:
  int Continue(const String& text, Matcher* m, int i) const { return Run(next, text, m, i); }

  static int Run(const BasicNode* n, const String& text, Matcher* m, int i) {
    if (!n) return i;
    if (m->aborted) return -1;
    if (++m->depth > RegexLimits::kMaxMatchDepth || ++m->steps > RegexLimits::kMaxMatchSteps) {
      m->aborted = true;
      --m->depth;
      return -1;
    }
    int r = n->Match(text, m, i);
    --m->depth;
    return r;
  }

  // Counts n iterations taken in a loop against the step bound.
  static bool Spend(Matcher* m, long long n) {
    m->steps += n;
    if (m->steps > RegexLimits::kMaxMatchSteps) m->aborted = true;
    return !m->aborted;
  }

  // The character that the chain from n needs first, looking through
  // transparent nodes; -1 when there is none to rely on.
  static long LeadChar(const BasicNode* n) {
    for (int steps = 0; n && n->IsTransparent() && steps < 64; ++steps) n = n->next;
    return (n && !n->IsTransparent()) ? n->RequiredChar() : -1;
  }
  static bool Allows(long lead, const String& text, int at) {
    return lead < 0 || (at < static_cast<int>(text.size()) && long(T::Code(text[at])) == lead);
  }

  // The capturing groups recorded by nodes of the sub-graph from n (an inner
  // chain that ends in an Accept node without successor), each once.
  static std::vector<int> GroupsWithin(BasicNode* n) {
    std::map<BasicNode*, bool> found;
    n->FindAllNodes(found);
    std::vector<int> ids;
    for (const auto& entry : found) {
      const int g = entry.first->CapturingGroup();
      if (g > 0 && std::find(ids.begin(), ids.end(), g) == ids.end()) ids.push_back(g);
    }
    return ids;
  }
  // Pushes the start and end of each group onto the matcher's save stack and
  // returns the mark to restore from. The stack is reused between matches.
  static size_t SaveGroups(Matcher* m, const std::vector<int>& ids) {
    const size_t mark = m->savedGroups.size();
    for (int g : ids) {
      m->savedGroups.push_back(m->groupStarts[g]);
      m->savedGroups.push_back(m->groupEnds[g]);
    }
    return mark;
  }
  // Puts back what SaveGroups pushed at mark (when restore is true) and pops it.
  static void DropSavedGroups(Matcher* m, const std::vector<int>& ids, size_t mark, bool restore) {
    if (restore) {
      size_t k = mark;
      for (int g : ids) {
        m->groupStarts[g] = m->savedGroups[k++];
        m->groupEnds[g] = m->savedGroups[k++];
      }
    }
    m->savedGroups.resize(mark);
  }
};

#endif
