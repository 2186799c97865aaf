// What a matcher has learnt of the runs of a one-character atom in its text:
// for each counted repetition of such an atom ({n} or {n,m} with n of 2 or
// more), the last stretch of the text over which it walked its mandatory
// iterations.
//
// Whether the n characters from a position all pass the atom's test depends
// on the text alone, so what one walk learnt serves every later walk of the
// same repetition, from whatever node or start position it comes. A walk
// that fails at position j tells that every start from where its run began
// up to j fails as well (each of their walks must pass j); a walk that
// succeeds tells that the characters it passed need not be tested again. So
// the start-of-search loop, which reaches the repetition at each position in
// turn, tests each character of the text about once, instead of n times.
#ifndef REGEX_KNOWN_RUNS_H
#define REGEX_KNOWN_RUNS_H

namespace RegexEngine {

// A stretch [from, to) of the text whose every character passes the atom's
// test; ends: the stretch cannot be extended (the character at to fails the
// test, or the text ends there).
struct KnownRun {
  int from = 0;
  int to = -1;  // to < from: nothing known yet
  bool ends = false;

  bool Known() const { return to >= from; }

  // The end of the need characters from p when they all pass test (called
  // with an index of the text), else -1. Tests only the characters the run
  // does not tell, counts them in tested, and keeps the run it learnt.
  template <class Test>
  int Walk(int len, int p, int need, Test test, long long& tested) {
    const long long goal = static_cast<long long>(p) + need;
    if (goal > len) return -1;
    int first = p;  // every character from first up to q passes
    int q = p;
    bool stops = false;
    bool joined = false;  // the walk has reached the known run from the left
    if (Known() && from <= p && p <= to) {
      first = from;
      q = to;
      stops = ends;
    }
    while (!stops && q < goal) {
      if (!joined && Known() && q == from && first < from) {
        joined = true;
        q = to;
        stops = ends;
        continue;
      }
      ++tested;
      if (!test(q)) {
        stops = true;
        break;
      }
      ++q;
    }
    from = first;
    to = q;
    ends = stops || q == len;
    return q >= goal ? static_cast<int>(goal) : -1;
  }
};

}  // namespace RegexEngine

#endif
