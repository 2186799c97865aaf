// Repetition of a single atom: the shared mandatory step and the greedy,
// reluctant and possessive forms.
//
// An atom is one node whose iterations all have the same width and change no
// matcher state, so the greedy form walks forward over the iterations and
// then back over their end positions in a loop: the stack does not grow with
// the number of iterations. Atoms of one character are tested directly.
//
// A repetition without upper bound of an atom of fixed width (one character,
// a class, a literal text) remembers failures per iteration start: what
// follows an iteration start (the greedy or reluctant extension, or the
// possessive run and the rest behind it) depends on that position alone, and
// its failure there implies its failure at every later iteration start of
// the same run. A walk that reaches a remembered position therefore stops:
// the rest of the run is known to fail. Other repetitions remember the
// failure of their whole match at the index where it began.
#ifndef REGEX_QUANTIFIER_NODES_H
#define REGEX_QUANTIFIER_NODES_H

#include <climits>

#include "regex/node.h"
#include "regex/structure_nodes.h"

template <class T>
class BasicQuantifierNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using typename BasicNode<T>::Pattern;
  using N = BasicNode<T>;

  // Links a new Accept node behind the inner chain, so that running the
  // inner chain returns the index at which one iteration ends.
  BasicQuantifierNode(Pattern* pattern, N* in, int mn, int mx)
      : min(mn < 0 ? 0 : mn), max(mx), inner(in) {
    N* last = inner;
    while (last->next) last = last->next;
    last->next = pattern->RegisterNode(new BasicAcceptNode<T>());
  }

  int Match(const String& text, Matcher* m, int cur) const override {
    return Mandatory(text, m, cur);
  }
  void AppendLinks(std::vector<N*>& out) const override { out.push_back(inner); }
  bool ReadsCapturesOrStart() const override { return false; }
  bool MayRemember() const override { return true; }
  void Prepare() override {
    single_ = inner->IsSingleChar();
    lead_ = this->LeadOf(this->next);
    bool ci = false;
    const String* literal = inner->LiteralText(ci);
    width_ = single_ ? 1 : (literal && !literal->empty()) ? static_cast<int>(literal->size()) : 0;
  }
  // A mandatory iteration needs what the atom needs.
  long RequiredChar() const override { return min > 0 ? inner->RequiredChar() : -1; }
  const N* FirstCharTest() const override {
    return min > 0 && inner->IsSingleChar() ? inner : nullptr;
  }
  int MinWidth() const override {
    const long long least = static_cast<long long>(min) * width_;
    return least > INT_MAX ? INT_MAX : static_cast<int>(least);
  }

  int min;
  int max;
  N* inner;

 protected:
  // One iteration at p: its end, or -1.
  int Step(const String& text, Matcher* m, int p) const {
    if (single_)
      return (p < static_cast<int>(text.size()) && inner->TestChar(text[p])) ? p + 1 : -1;
    return this->Run(inner, text, m, p);
  }

  // The min mandatory iterations; an iteration without progress ends them
  // early and counts as satisfying them. Does not continue at next.
  int Mandatory(const String& text, Matcher* m, int cur) const {
    int p = cur;
    for (int i = 0; i < min; ++i) {
      int r = Step(text, m, p);
      if (r <= p) return r;
      p = r;
    }
    return m->budget.Spend(min) ? p : -1;
  }

  // True when failures are remembered per iteration start (see above).
  bool RemembersRuns() const { return width_ > 0 && max == RegexLimits::kNoUpperBound; }

  // The table slot for iteration starts, and the first position at which it
  // may be used (INT_MAX when there is none).
  struct RunMemo {
    int slot;
    int from;
    bool Knows(const Matcher* m, int p) const { return p >= from && m->failures->Failed(slot, p); }
  };
  RunMemo RunSlot(const Matcher* m) const {
    const int slot = RemembersRuns() ? this->MemoSlot(m) : -1;
    return {slot, slot >= 0 ? m->failures->FirstUsable(slot, m->loopStarts) : INT_MAX};
  }
  // The mandatory iterations from cur and the table for what follows them:
  // the first iteration start after them, or -1 when the iterations fail or
  // the table knows that the rest fails from there.
  int RunBegin(const String& text, Matcher* m, int cur, RunMemo& memo) const {
    const int first = Mandatory(text, m, cur);
    if (first == -1) return -1;
    memo = RunSlot(m);
    return memo.Knows(m, first) ? -1 : first;
  }
  // Remembers that what follows each of the iteration starts first,
  // first + width_, ... (count of them) fails.
  void RememberRun(Matcher* m, const RunMemo& memo, int first, long count) const {
    if (memo.slot < 0 || m->budget.Exhausted()) return;
    for (long k = 0; k < count; ++k) {
      const long at = first + k * width_;
      if (at >= memo.from) m->failures->MarkFailed(memo.slot, static_cast<int>(at));
    }
  }

  bool single_ = false;
  int width_ = 0;                     // the width of every iteration, or 0 when it may vary
  typename BasicNode<T>::Lead lead_;  // what the rest needs at its first index
};

template <class T>
class BasicGreedyQuantifierNode : public BasicQuantifierNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using BasicQuantifierNode<T>::BasicQuantifierNode;

  int Match(const String& text, Matcher* m, int cur) const override {
    auto match = [&] {
      int p = this->Mandatory(text, m, cur);
      if (p == -1) return -1;
      return MatchMany(text, m, p, this->min);
    };
    return this->RemembersRuns() ? match() : this->Remembered(m, cur, match);
  }

  // The greedy extension after count iterations ending at cur: the longest
  // run first, then the rest of the pattern after each shorter run in turn.
  virtual int MatchMany(const String& text, Matcher* m, int cur, int count) const {
    const auto memo = this->RunSlot(m);
    return memo.slot < 0 ? Extend<false>(text, m, cur, count, memo)
                         : Extend<true>(text, m, cur, count, memo);
  }

 private:
  // The extension, with (Remember) or without the table: one body, so that
  // the plain walk of short texts stays as tight as it can be.
  template <bool Remember>
  int Extend(const String& text, Matcher* m, int cur, int count,
             const typename BasicQuantifierNode<T>::RunMemo& memo) const {
    if (Remember && memo.Knows(m, cur)) return -1;
    const long room = count < this->max ? long(this->max) - count : 0;
    long n = 0;
    int width = 0;
    bool knownBeyond = false;  // the extension from the iteration start reached is known to fail
    for (int p = cur; n < room; ++n) {
      if (Remember && n > 0 && memo.Knows(m, p)) {
        knownBeyond = true;
        break;
      }
      int r = this->Step(text, m, p);
      if (r <= p) break;
      if (n == 0) {
        width = r - p;
      } else if (r - p != width) {
        return MatchManyNested(text, m, cur, count);
      }
      p = r;
    }
    if (!m->budget.Spend(n)) return -1;
    const long last = knownBeyond ? n - 1 : n;
    for (long k = last; k >= 0; --k) {
      int at = cur + static_cast<int>(k * width);
      if (!this->Allows(this->lead_, text, at)) continue;
      int r = this->Continue(text, m, at);
      if (r != -1 || m->budget.Exhausted()) return r;
    }
    if (Remember) this->RememberRun(m, memo, cur, last + 1);
    return -1;
  }

  // The same extension for iterations of differing widths, one nested call
  // per iteration; each level counts against the matcher's nesting bound.
  int MatchManyNested(const String& text, Matcher* m, int cur, int count) const {
    if (count < this->max) {
      int r = this->Run(this->inner, text, m, cur);
      if (r != -1 && r > cur) {
        if (!m->budget.Nest()) return -1;
        int r2 = MatchManyNested(text, m, r, count + 1);
        m->budget.Leave();
        if (r2 != -1 || m->budget.Exhausted()) return r2;
      }
    }
    return this->Continue(text, m, cur);
  }
};

template <class T>
class BasicLazyQuantifierNode : public BasicQuantifierNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using BasicQuantifierNode<T>::BasicQuantifierNode;

  // Tries the rest of the pattern before each further iteration.
  int Match(const String& text, Matcher* m, int cur) const override {
    if (this->RemembersRuns()) return LazyRun(text, m, cur);
    return this->Remembered(m, cur, [&] {
      int p = this->Mandatory(text, m, cur);
      if (p == -1) return -1;
      for (int i = this->min; i < this->max; ++i) {
        if (this->Allows(this->lead_, text, p)) {
          int r = this->Continue(text, m, p);
          if (r != -1 || m->budget.Exhausted()) return r;
        }
        int r2 = this->Step(text, m, p);
        if (r2 <= p) return -1;
        p = r2;
      }
      return this->Continue(text, m, p);
    });
  }

 private:
  // The same without upper bound: it ends where the iterations end, or at an
  // iteration start from which the rest is known to fail.
  int LazyRun(const String& text, Matcher* m, int cur) const {
    typename BasicQuantifierNode<T>::RunMemo memo{-1, INT_MAX};
    const int first = this->RunBegin(text, m, cur, memo);
    if (first == -1) return -1;
    int p = first;
    long tried = 0;
    for (;;) {
      if (tried > 0 && memo.Knows(m, p)) break;
      ++tried;
      if (this->Allows(this->lead_, text, p)) {
        int r = this->Continue(text, m, p);
        if (r != -1 || m->budget.Exhausted()) return r;
      }
      int r2 = this->Step(text, m, p);
      if (r2 <= p) break;
      p = r2;
    }
    if (!m->budget.Spend(tried)) return -1;
    this->RememberRun(m, memo, first, tried);
    return -1;
  }
};

template <class T>
class BasicPossessiveQuantifierNode : public BasicQuantifierNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using BasicQuantifierNode<T>::BasicQuantifierNode;

  // Takes the longest run and tries the rest once; nothing is given back. An
  // independent group's body may set groups: they are put back on failure.
  int Match(const String& text, Matcher* m, int cur) const override {
    if (this->RemembersRuns() && groups_.empty()) return Possessive(text, m, cur);
    return this->Remembered(m, cur, [&] {
      if (groups_.empty()) return Possessive(text, m, cur);
      const size_t mark = this->SaveGroups(m, groups_);
      const int r = Possessive(text, m, cur);
      this->DropSavedGroups(m, groups_, mark, r == -1);
      return r;
    });
  }
  void Prepare() override {
    BasicQuantifierNode<T>::Prepare();
    groups_ = this->GroupsWithin(this->inner);
  }

 private:
  // From an iteration start of a run, the run ends at the same place, so a
  // remembered start means that the rest behind the run has failed.
  int Possessive(const String& text, Matcher* m, int cur) const {
    typename BasicQuantifierNode<T>::RunMemo memo{-1, INT_MAX};
    const int first = this->RunBegin(text, m, cur, memo);
    if (first == -1) return -1;
    int p = first;
    long walked = 0;
    bool known = false;
    for (int i = this->min; i < this->max; ++i) {
      if (walked > 0 && memo.Knows(m, p)) {
        known = true;
        break;
      }
      int r = this->Step(text, m, p);
      if (r <= p) break;
      p = r;
      ++walked;
    }
    if (!m->budget.Spend(p - cur)) return -1;
    const int r = known ? -1 : this->Continue(text, m, p);
    if (r == -1) this->RememberRun(m, memo, first, known ? walked : walked + 1);
    return r;
  }

  std::vector<int> groups_;  // capturing groups inside an independent group
};

#endif
