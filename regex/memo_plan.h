// Which nodes of a pattern may remember the positions from which they failed.
//
// A node's failure at a position may be remembered only when the outcome of
// the node and of everything after it depends on the text and the position
// alone. That excludes, and so leaves without a slot:
//   - nodes from which a back reference can be reached (its outcome depends
//     on what the groups captured) or "\G" (it depends on where the current
//     attempt began);
//   - nodes inside the body of a counted group loop (a finite upper bound, a
//     lower bound above 1, or the possessive kind), whose outcome depends on
//     the iteration count.
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
  int nodes = 0;
  // True when every branching node has a slot and nothing in the pattern
  // escapes the table (no back reference, no "\G", no counted group loop):
  // the work of a match is then bounded by the table itself.
  bool complete = false;
};

}  // namespace RegexEngine

#endif
