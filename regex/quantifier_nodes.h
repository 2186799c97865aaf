// Repetition of a single atom: the shared mandatory step and the greedy,
// reluctant and possessive forms, which all walk their iterations through one
// helper (Extend).
//
// An atom is one node whose iterations all have the same width and change no
// matcher state, so the greedy form walks forward over the iterations and
// then back over their end positions in a loop: the stack does not grow with
// the number of iterations. Atoms of one character are tested directly; with
// two or more mandatory iterations their mandatory walk goes through what
// the matcher knows of the atom's runs in the text (known_runs.h), so that
// retrying it from every start position costs about one test per character.
// Every iteration tried, in a walk that succeeds or fails, counts against the
// operation's step bound.
//
// A repetition of an atom of fixed width (one character, a class, a literal
// text) remembers failures per iteration start. What follows an iteration
// start p (the greedy or reluctant extension: the rest of the pattern tried
// at every iteration start from p to where the atom stops; or the possessive
// run and the rest behind it) depends on that position alone, and its
// failure there implies its failure at every later iteration start of the
// same run. A walk that reaches a remembered position therefore stops: the
// rest of the run is known to fail. A counted repetition ({n,m}) records a
// failure only when its walk reached the end of the atom's run (or a
// remembered start), where the failure holds whatever the count; a walk cut
// short by the upper bound records nothing. The possessive form with an
// upper bound tries the rest where the bound ends the run, which differs
// from start to start, so it, like the repetitions of atoms whose width
// varies (a back reference) and independent groups, remembers the failure of
// its whole match at the index where it began.
#ifndef REGEX_QUANTIFIER_NODES_H
#define REGEX_QUANTIFIER_NODES_H

#include <algorithm>
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
    last->next = pattern->template NewNode<BasicAcceptNode<T>>();
  }

  int Match(const String& text, Matcher* m, int cur) const override {
    return Mandatory(text, m, cur);
  }
  void AppendLinks(std::vector<N*>& out) const override { out.push_back(inner); }
  bool ReadsCapturesOrStart() const override { return false; }
  bool MayRemember() const override { return true; }
  void Prepare() override {
    single_ = inner->IsSingleChar();
    everyChar_ = single_ && inner->PassesEveryChar();
    // A repetition of one character with two or more mandatory iterations
    // keeps what its walks learn of the text (known_runs.h).
    knowsRuns_ = single_ && min >= 2;
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
  enum Kind { kGreedy, kLazy, kPossessive };

  // One iteration at p: its end, or -1.
  int Step(const String& text, Matcher* m, int p) const {
    if (single_)
      return (p < static_cast<int>(text.size()) && inner->TestChar(text[p])) ? p + 1 : -1;
    return this->Run(inner, text, m, p);
  }

  // The min mandatory iterations; an iteration without progress ends them
  // early and counts as satisfying them. Does not continue at next. Every
  // iteration tried counts as a step, whether the walk succeeds or fails.
  int Mandatory(const String& text, Matcher* m, int cur) const {
    if (knowsRuns_) return MandatoryOfOneChar(text, m, cur);
    int p = cur;
    for (int i = 0; i < min; ++i) {
      int r = Step(text, m, p);
      if (r <= p) return m->budget.Spend(i + 1) ? r : -1;
      p = r;
    }
    return m->budget.Spend(min) ? p : -1;
  }

  // The mandatory walk of a one-character atom through what the matcher
  // knows of its runs: the characters it tests count as steps.
  int MandatoryOfOneChar(const String& text, Matcher* m, int cur) const {
    auto passes = [&](int at) { return inner->TestChar(text[at]); };
    long long tested = 0;
    const int len = static_cast<int>(text.size());
    const int r = m->KnownRunOf(this->index).Walk(len, cur, min, passes, tested);
    return m->budget.Spend(tested) ? r : -1;
  }

  // True when the table remembers failures per iteration start (see above).
  bool RemembersRuns(Kind kind) const {
    return width_ > 0 && (kind != kPossessive || max == RegexLimits::kNoUpperBound);
  }

  // The table slot for iteration starts, and the first position at which it
  // may be used (INT_MAX when there is none).
  struct RunMemo {
    int slot;
    int from;
    bool Knows(const Matcher* m, int p) const { return p >= from && m->failures->Failed(slot, p); }
  };
  RunMemo RunSlot(const Matcher* m, Kind kind) const {
    const int slot = RemembersRuns(kind) ? this->MemoSlot(m) : -1;
    return {slot, slot >= 0 ? m->failures->FirstUsable(slot, m->loopStarts) : INT_MAX};
  }

  // The whole repetition from cur: the mandatory iterations, then the
  // further ones (extension, from the first iteration start after them). A
  // repetition that does not remember its runs remembers the failure of the
  // whole at cur.
  template <class Extension>
  int Repeat(Kind kind, const String& text, Matcher* m, int cur, Extension extension) const {
    auto whole = [&] {
      const int first = Mandatory(text, m, cur);
      return first == -1 ? -1 : extension(first);
    };
    return RemembersRuns(kind) ? whole() : this->Remembered(m, cur, whole);
  }

  // The iterations after the count done so far, from the iteration start
  // first: tries the rest of the pattern behind them in the kind's order
  // (greedy: the longest run first, then each shorter one; lazy: before each
  // further iteration; possessive: once, behind the longest run), stops at an
  // iteration start from which the rest is known to fail, and remembers the
  // starts from which it failed.
  template <Kind K>
  int Extend(const String& text, Matcher* m, int first, int count) const {
    const RunMemo memo = RunSlot(m, K);
    if (memo.Knows(m, first)) return -1;
    const long room = count < max ? long(max) - count : 0;
    long n = 0;             // iterations walked past first
    int p = first;          // the iteration start reached
    int width = width_;     // 0: not known yet
    bool complete = false;  // the walk ended where the atom's run ends
    bool known = false;     // it stopped at p, from which the rest is known to fail
    if (K != kLazy && single_ && memo.slot < 0) {
      // Nothing to remember: the plain walk over characters, as tight as it
      // can be, for the short texts that never make the table.
      const long end = std::min(first + room, static_cast<long>(text.size()));
      if (everyChar_)
        p = static_cast<int>(end);
      else
        while (p < end && inner->TestChar(text[p])) ++p;
      n = p - first;
      width = 1;
    } else {
      for (;;) {
        if (K == kLazy && this->Allows(this->lead_, text, p)) {
          const int r = this->Continue(text, m, p);
          if (r != -1 || m->budget.Exhausted()) return r;
        }
        if (n >= room) {
          // The upper bound ends the walk: a failure holds whatever the count
          // only when the atom's run ends here as well.
          if (memo.slot >= 0) complete = Step(text, m, p) <= p;
          break;
        }
        const int r = Step(text, m, p);
        if (r <= p) {
          complete = true;
          break;
        }
        if (width == 0) {
          width = r - p;
        } else if (K == kGreedy && r - p != width) {
          // Iterations of differing widths cannot be walked back by position.
          if (!m->budget.Spend(n)) return -1;
          return MatchManyNested(text, m, first, count);
        }
        p = r;
        ++n;
        if (K == kLazy && !m->budget.Spend(1)) return -1;
        if (memo.Knows(m, p)) {
          complete = known = true;
          break;
        }
      }
    }
    if (K != kLazy && !m->budget.Spend(n)) return -1;
    // The iteration starts behind which the rest fails: every start walked,
    // but the last one where the table already knows it.
    const long tried = known ? n : n + 1;
    if (K == kGreedy) {
      for (long k = tried - 1; k >= 0; --k) {
        const int at = first + static_cast<int>(k * width);
        if (!this->Allows(this->lead_, text, at)) continue;
        const int r = this->Continue(text, m, at);
        if (r != -1 || m->budget.Exhausted()) return r;
      }
    } else if (K == kPossessive && !known) {
      const int r = this->Continue(text, m, p);
      if (r != -1 || m->budget.Exhausted()) return r;
    }
    if (complete) RememberRun(m, memo, first, tried);
    return -1;
  }

  // The greedy extension for iterations of differing widths, one nested
  // call per iteration; each level counts against the nesting bound.
  int MatchManyNested(const String& text, Matcher* m, int cur, int count) const {
    if (count < max) {
      int r = this->Run(inner, text, m, cur);
      if (r != -1 && r > cur) {
        if (!m->budget.Nest()) return -1;
        int r2 = MatchManyNested(text, m, r, count + 1);
        m->budget.Leave();
        if (r2 != -1 || m->budget.Exhausted()) return r2;
      }
    }
    return this->Continue(text, m, cur);
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
  bool everyChar_ = false;            // an atom that every character passes
  bool knowsRuns_ = false;            // the mandatory walk goes through the known runs
  int width_ = 0;                     // the width of every iteration, or 0 when it may vary
  typename BasicNode<T>::Lead lead_;  // what the rest needs at its first index
};

template <class T>
class BasicGreedyQuantifierNode : public BasicQuantifierNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using Q = BasicQuantifierNode<T>;
  using Q::Q;

  int Match(const String& text, Matcher* m, int cur) const override {
    return this->Repeat(Q::kGreedy, text, m, cur,
                        [&](int first) { return MatchMany(text, m, first, this->min); });
  }

  // The greedy extension after count iterations ending at cur: the longest
  // run first, then the rest of the pattern after each shorter run in turn.
  virtual int MatchMany(const String& text, Matcher* m, int cur, int count) const {
    return this->template Extend<Q::kGreedy>(text, m, cur, count);
  }
};

template <class T>
class BasicLazyQuantifierNode : public BasicQuantifierNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using Q = BasicQuantifierNode<T>;
  using Q::Q;

  // Tries the rest of the pattern before each further iteration.
  int Match(const String& text, Matcher* m, int cur) const override {
    return this->Repeat(Q::kLazy, text, m, cur, [&](int first) {
      return this->template Extend<Q::kLazy>(text, m, first, this->min);
    });
  }
};

template <class T>
class BasicPossessiveQuantifierNode : public BasicQuantifierNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using Q = BasicQuantifierNode<T>;
  using Q::Q;

  // Takes the longest run and tries the rest once; nothing is given back. An
  // independent group's body may set groups: they are put back on failure.
  int Match(const String& text, Matcher* m, int cur) const override {
    auto extension = [&](int first) {
      return this->template Extend<Q::kPossessive>(text, m, first, this->min);
    };
    if (groups_.empty()) return this->Repeat(Q::kPossessive, text, m, cur, extension);
    return this->Remembered(m, cur, [&] {
      const size_t mark = this->SaveGroups(m, groups_);
      const int first = this->Mandatory(text, m, cur);
      const int r = first == -1 ? -1 : extension(first);
      this->DropSavedGroups(m, groups_, mark, r == -1);
      return r;
    });
  }
  void Prepare() override {
    Q::Prepare();
    groups_ = this->GroupsWithin(this->inner);
  }

 private:
  std::vector<int> groups_;  // capturing groups inside an independent group
};

#endif
