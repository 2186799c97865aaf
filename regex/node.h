// The base of every node of a compiled pattern's graph.
//
// A node tests one construct at an index of the text and hands the rest of
// the match to its successor: Match returns the index at which the match of
// the whole rest of the chain ends, or -1. Every call from one node into
// another goes through Run, which enters it through the matcher's accounting
// (match_budget.h): an attempt ends as a no-match before it could exhaust
// the stack or run without end. The branching nodes remember, through the
// matcher's failure table (failure_table.h), the positions from which they
// have failed, so that no such position is explored twice.
//
// The narrow copy's debug printer adds Print(depth) at this level through
// NodePrintSlot (print_slots.h); the wide copy has none.
#ifndef REGEX_NODE_H
#define REGEX_NODE_H

#include <algorithm>
#include <map>
#include <vector>

#include "regex/failure_table.h"
#include "regex/literal_index.h"
#include "regex/literal_search.h"
#include "regex/pattern.h"
#include "regex/print_slots.h"
#include "regex/regex_limits.h"

template <class T>
class BasicNode : public RegexEngine::NodePrintSlot<T::kPrints> {
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
  // True for a node of one character whose test every character passes (the
  // dot under DOT_MATCHES_ALL), so that a walk over it need not test.
  virtual bool PassesEveryChar() const { return false; }
  // True for a zero-width node that always hands on to its successor and
  // whose writes are undone when the successor fails.
  virtual bool IsTransparent() const { return false; }
  // The code of the one character this node needs at its index, or -1.
  virtual long RequiredChar() const { return -1; }
  // A node of one character whose test the character at this node's index
  // must pass, or null.
  virtual const BasicNode* FirstCharTest() const { return nullptr; }
  // The node through which every match that passes this one goes on (next,
  // for most), or null when there is none to rely on.
  virtual const BasicNode* Onward() const { return next; }
  // Links other than next (inner chains, alternatives).
  virtual void AppendLinks(std::vector<BasicNode*>&) const {}
  // Called once on every node after the whole graph is linked.
  virtual void Prepare() {}
  // The capturing group whose start or end this node records, or 0.
  virtual int CapturingGroup() const { return 0; }
  // The least number of characters a match of this node consumes before it
  // hands on to its successor.
  virtual int MinWidth() const { return 0; }
  // True for a zero-width node that only hands on to its successor and
  // writes nothing.
  virtual bool IsPassThrough() const { return false; }
  // The text of a literal-text node, or null; ci tells whether it compares
  // ignoring letter case.
  virtual const String* LiteralText(bool& ci) const {
    (void)ci;
    return nullptr;
  }

  // ---- What the plan of the failure table (memo_plan.h) asks of a node. ----
  // The defaults are the safe answers: a node class that states nothing is
  // never remembered, and neither is any node from which it can be reached.
  // Its links other than next must be reported through AppendLinks, which is
  // how the plan follows the graph.
  //
  // True when the node's outcome may depend on what the groups captured, on
  // where the current attempt began, or on any matcher state other than the
  // text, the position and the loop state that ReadsLoop reports.
  virtual bool ReadsCapturesOrStart() const { return true; }
  // True for a node where backtracking branches, whose failure at a position
  // may be remembered when the plan allows it.
  virtual bool MayRemember() const { return false; }
  // The group loop whose state the node reads (gi 0: none), and whether its
  // outcome then depends on the loop's iteration count (counted) or only on
  // whether the loop's current iteration began before the position.
  struct LoopRead {
    int gi = 0;
    bool counted = false;
  };
  virtual LoopRead ReadsLoop() const { return {}; }
  // The group loop whose state the node resets before it goes on (0: none).
  virtual int ResetsLoop() const { return 0; }

  BasicNode* next = nullptr;
  // The node's place in its pattern's registry (set by RegisterNode).
  int index = -1;

 protected:
  int Continue(const String& text, Matcher* m, int i) const { return Run(next, text, m, i); }

  // Calls node n (none: the chain has ended at i) through the matcher's
  // accounting, which ends the attempt once a bound is passed.
  static int Run(const BasicNode* n, const String& text, Matcher* m, int i) {
    if (!n) return i;
    typename Matcher::Budget::Call call(m->budget);
    return call.Entered() ? n->Match(text, m, i) : -1;
  }

  // True when the literal text occurs in the text from pos on. Once an
  // operation has run long enough to make the failure table, a literal of 16
  // or more characters is looked up in an index of its occurrences, made in
  // one linear pass, instead of being compared again at every position.
  bool LiteralAt(const String& literal, bool ci, const String& text, Matcher* m, int pos) const {
    const int n = static_cast<int>(literal.size());
    if (pos < 0 || pos > static_cast<int>(text.size()) - n) return false;
    if (n >= 16 && m->literals) {
      const std::vector<std::uint64_t>* starts = m->literals->Starts(index);
      if (!starts) starts = IndexLiteral(literal, ci, text, m);
      if (starts && !starts->empty()) {
        return m->budget.Spend(1) && ((*starts)[std::size_t(pos) >> 6] >> (pos & 63)) & 1u;
      }
    }
    int i = 0;
    while (i < n &&
           (ci ? T::Lower(text[pos + i]) == T::Lower(literal[i]) : text[pos + i] == literal[i]))
      ++i;
    return m->budget.Spend(i) && i == n;
  }

  // This node's slot in the matcher's failure table, or -1.
  int MemoSlot(const Matcher* m) const { return m->failures ? m->failures->SlotOf(index) : -1; }

  // Runs body (the node's own match at pos) unless the table knows that it
  // fails there, and remembers a failure.
  template <class Body>
  int Remembered(Matcher* m, int pos, Body body) const {
    const int slot = MemoSlot(m);
    if (slot < 0 || pos < m->failures->FirstUsable(slot, m->loopStarts)) return body();
    if (m->failures->Failed(slot, pos)) return -1;
    const int r = body();
    if (r == -1 && !m->budget.Exhausted()) m->failures->MarkFailed(slot, pos);
    return r;
  }

  // Finds every occurrence of the literal (overlapping ones included) and
  // keeps their starts in the matcher; null when the step bound ended it. A
  // literal whose starts would not fit keeps an empty mark at once.
  const std::vector<std::uint64_t>* IndexLiteral(const String& literal, bool ci, const String& text,
                                                 Matcher* m) const {
    if (!m->literals->Fits(text.size())) return m->literals->Keep(index, {});
    const RegexEngine::BasicLiteralSearch<T> search(literal, ci);
    std::vector<std::uint64_t> starts(RegexEngine::LiteralIndex::WordsFor(text.size()), 0);
    typename RegexEngine::BasicLiteralSearch<T>::Cursor cursor{0, 0};
    for (;;) {
      long long read = 0;
      const int at = search.Next(text, cursor, &read);
      if (!m->budget.Spend(read)) return nullptr;
      if (at < 0) break;
      starts[std::size_t(at) >> 6] |= std::uint64_t(1) << (at & 63);
    }
    return m->literals->Keep(index, std::move(starts));
  }

  // What the chain from a node needs at its first index, looking through
  // transparent nodes: one character, or a node of one character (a class)
  // whose test the character must pass; neither when there is none to rely
  // on. Lets repetitions and the start node skip indices cheaply.
  struct Lead {
    long ch = -1;
    const BasicNode* test = nullptr;
    bool Known() const { return ch >= 0 || test; }
  };
  static Lead LeadOf(const BasicNode* n) {
    for (int steps = 0; n && n->IsTransparent() && steps < 64; ++steps) n = n->next;
    Lead lead;
    if (!n || n->IsTransparent()) return lead;
    lead.ch = n->RequiredChar();
    if (lead.ch < 0) lead.test = n->FirstCharTest();
    return lead;
  }
  static bool Allows(const Lead& lead, const String& text, int at) {
    if (lead.ch >= 0)
      return at < static_cast<int>(text.size()) && long(T::Code(text[at])) == lead.ch;
    if (lead.test) return at < static_cast<int>(text.size()) && lead.test->TestChar(text[at]);
    return true;
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
  // Saving counts one step per group (the steps of putting them back are of
  // the same number). The stack holds at most kMaxSavedGroupBytes: a save
  // that would pass it saves nothing and ends the operation, so that the
  // body does not run, and returns kNothingSaved.
  static constexpr size_t kNothingSaved = static_cast<size_t>(-1);
  static size_t SaveGroups(Matcher* m, const std::vector<int>& ids) {
    std::vector<int>& saved = m->savedGroups;
    const size_t mark = saved.size();
    if (ids.empty()) return mark;
    m->budget.Spend(static_cast<long long>(ids.size()));
    constexpr size_t kMostInts = RegexLimits::kMaxSavedGroupBytes / sizeof(int);
    const size_t need = mark + 2 * ids.size();
    if (need > kMostInts) {
      m->budget.Stop();
      return kNothingSaved;
    }
    if (need > saved.capacity()) saved.reserve(std::min(kMostInts, std::max(need, 2 * mark)));
    for (int g : ids) {
      saved.push_back(m->groupStarts[g]);
      saved.push_back(m->groupEnds[g]);
    }
    return mark;
  }
  // Puts back what SaveGroups pushed at mark (when restore is true) and pops it.
  static void DropSavedGroups(Matcher* m, const std::vector<int>& ids, size_t mark, bool restore) {
    if (mark == kNothingSaved) return;
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
