// Repetition of a parenthesised group: the prologue resets the loop state of
// the group on entry, and the loop node, reached at entry and again at the
// end of every iteration, decides between another pass and its successor.
#ifndef REGEX_GROUP_LOOP_NODES_H
#define REGEX_GROUP_LOOP_NODES_H

#include "regex/node.h"

template <class T>
class BasicGroupLoopPrologueNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  explicit BasicGroupLoopPrologueNode(int g) : gi(g) {}

  int Match(const String& text, Matcher* m, int cur) const override {
    const int count = m->loopCounts[gi];
    const int saved = m->loopSavedCounts[gi];
    const int start = m->loopStarts[gi];
    m->loopCounts[gi] = 0;
    m->loopSavedCounts[gi] = 0;
    m->loopStarts[gi] = -1;
    int r = this->Continue(text, m, cur);
    if (r < 0) {
      m->loopCounts[gi] = count;
      m->loopSavedCounts[gi] = saved;
      m->loopStarts[gi] = start;
    }
    return r;
  }
  bool ReadsCapturesOrStart() const override { return false; }
  int ResetsLoop() const override { return gi; }
  int gi;
};

template <class T>
class BasicGroupLoopNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using N = BasicNode<T>;

  enum { kGreedy = 0, kReluctant = 1, kPossessive = 2 };

  BasicGroupLoopNode(N* in, int mn, int mx, int g, int t)
      : gi(g), min(mn), max(mx), type(t), inner(in) {}

  int Match(const String& text, Matcher* m, int cur) const override {
    const bool progress = m->loopStarts[gi] < cur;
    if (progress && m->loopCounts[gi] < min) {
      ++m->loopCounts[gi];
      const int old = m->loopStarts[gi];
      m->loopStarts[gi] = cur;
      int r = this->Run(inner, text, m, cur);
      if (r >= 0) return r;
      m->loopStarts[gi] = old;
      --m->loopCounts[gi];
      return r;
    }
    if (progress && m->loopCounts[gi] < max) {
      // Past the mandatory iterations, what an uncounted loop does from here
      // depends on the position alone (memo_plan.h).
      switch (type) {
        case kGreedy:
          return this->Remembered(m, cur, [&] { return MatchGreedy(text, m, cur); });
        case kReluctant:
          return this->Remembered(m, cur, [&] { return MatchLazy(text, m, cur); });
        case kPossessive:
          return MatchPossessive(text, m, cur);
        default:
          return -1;
      }
    }
    return this->Continue(text, m, cur);
  }
  void AppendLinks(std::vector<N*>& out) const override {
    if (inner) out.push_back(inner);
  }
  bool ReadsCapturesOrStart() const override { return false; }
  // An uncounted loop (no upper bound, at most one mandatory iteration, not
  // possessive, whose steps compare iteration counts) depends on its state
  // only through whether its current iteration began before the position.
  bool Uncounted() const {
    return type != kPossessive && max == RegexLimits::kNoUpperBound && min <= 1;
  }
  // A loop of at most one iteration ('?', {0,1}, {1}) is at its count 0 when
  // its prologue has just entered it and at count 1 at the end of the
  // iteration, where it always goes on with its successor: the body and what
  // follows it do not depend on the loop's state. (The loop node itself,
  // which does either at the same position, has no slot.)
  bool OneIteration() const { return max <= 1 && min <= 1; }
  bool MayRemember() const override { return Uncounted(); }
  typename N::LoopRead ReadsLoop() const override {
    if (OneIteration()) return {};
    return {gi, !Uncounted()};
  }

  int gi;
  int min;
  int max;
  int type;
  N* inner;

 private:
  // Begins another iteration at cur; on failure puts the state back.
  int Iterate(const String& text, Matcher* m, int cur) const {
    const int old = m->loopStarts[gi];
    m->loopStarts[gi] = cur;
    ++m->loopCounts[gi];
    int r = this->Run(inner, text, m, cur);
    if (r >= 0) return r;
    --m->loopCounts[gi];
    m->loopStarts[gi] = old;
    return r;
  }

  int MatchGreedy(const String& text, Matcher* m, int cur) const {
    int r = Iterate(text, m, cur);
    if (r >= 0 || m->budget.Exhausted()) return r;
    return this->Continue(text, m, cur);
  }

  int MatchLazy(const String& text, Matcher* m, int cur) const {
    int r = this->Continue(text, m, cur);
    if (r >= 0 || m->budget.Exhausted()) return r;
    return Iterate(text, m, cur);
  }

  // Only the deepest iteration that failed tries the rest of the pattern.
  int MatchPossessive(const String& text, Matcher* m, int cur) const {
    m->loopSavedCounts[gi] = m->loopCounts[gi];
    int r = Iterate(text, m, cur);
    if (r >= 0 || m->budget.Exhausted()) return r;
    if (m->loopCounts[gi] != m->loopSavedCounts[gi]) return r;
    return this->Continue(text, m, cur);
  }
};

#endif
