// Which nodes of a pattern may remember the positions from which they failed.
//
// A node's failure at a position may be remembered only when the outcome of
// the node and of everything after it depends on the text and the position
// alone. That excludes, and so leaves without a slot:
//   - nodes from which a back reference can be reached (its outcome depends
//     on what the groups captured) or "\G" (it depends on where the current
//     attempt began);
//   - nodes inside the body of a counted group loop (a finite upper bound
//     above 1, a lower bound above 1, or the possessive kind), whose outcome
//     depends on the iteration count. A loop of at most one iteration ('?',
//     {0,1}, {1}) is not counted in this sense: at the end of its one
//     iteration it always goes on with its successor.
// Nodes inside the body of an uncounted loop ('*' or '+' on a group) depend
// on the loop's state only through one fact: whether the current iteration
// began before the position. Where a path that consumes nothing leads from
// the node back to such a loop, its slot may be used only at positions past
// the start of the loop's current iteration; the plan lists those loops.
// A group-loop prologue resets its loop, so nodes before a quantified group
// do not depend on it.
//
// Slots go to the nodes where backtracking branches: repetitions,
// alternations and uncounted group loops. Between two of them the match runs
// along one path, so remembering these is enough to try each of them at
// each position at most once.
//
// What the table bounds, and what it leaves to the step bound. Every
// operation (a whole-text match, or one find) ends at the step bound of
// regex_limits.h, with the table or without it: the table only spares steps.
// Where every branching node of a pattern has a slot, the work is about the
// text's length times the pattern's size, which stays far below the bound
// on ordinary texts (the program's own patterns take at most some ten
// million steps on a hostile 1 MB line). Beyond that the bound does not
// grow: a bound that grew with the table (as a table of slots x positions
// would allow) could keep a large pattern on a long text running for
// minutes, and every operation must end within about a second of work. What
// the table does not bound:
//   - look-ahead bodies ("(?=", "(?!") and independent groups ("(?>"). They
//     are run again wherever they are reached, and a body that succeeds is
//     not remembered (only the failures of its branching nodes are). A body
//     that runs to the end of the text, as ".*x" in "(?=.*x)y", costs the
//     rest of the text at every position where it is reached, so such a
//     pattern takes time quadratic in the text and ends at the step bound
//     on a long one: "(?=.*x)y" over 20,000 characters after about a quarter
//     of a second. Remembering the outcome of a body per position would not
//     change that, since there each position reaches the body only once; so
//     a pattern that holds them keeps the step bound like every other;
//   - counted repetitions of one atom ({n,m}) whose upper bound is smaller
//     than the runs of the atom in the text: a walk that the bound cuts short
//     remembers nothing (quantifier_nodes.h), so every start walks again, and
//     the time grows with the text times the bound. (Their mandatory part,
//     when the atom is one character, needs no table: the matcher keeps what
//     each walk learnt of the atom's runs, known_runs.h.);
//   - nodes without a slot (above), and slots that do not fit in the table.
#ifndef REGEX_MEMO_PLAN_H
#define REGEX_MEMO_PLAN_H

#include <vector>

namespace RegexEngine {

struct MemoPlan {
  // The slot of each node (by its index in the pattern), or -1.
  std::vector<int> slotOf;
  // For slot s, conditionGroups[conditionStart[s]] up to (but excluding)
  // conditionGroups[conditionStart[s + 1]] are the group ids of the loops
  // whose current iteration must have begun before a position for the slot
  // to be used there.
  std::vector<int> conditionStart;
  std::vector<int> conditionGroups;
  int slots = 0;
};

}  // namespace RegexEngine

#endif
