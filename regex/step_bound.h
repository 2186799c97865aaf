// The step bound of an operation while the failure table is on.
#ifndef REGEX_STEP_BOUND_H
#define REGEX_STEP_BOUND_H

#include <cstddef>

#include "regex/memo_plan.h"
#include "regex/regex_limits.h"

namespace RegexEngine {

struct StepBound {
  // kMaxMatchSteps, or, when the table covers the whole pattern (a complete
  // plan whose every slot has bits), a bound proportional to the table that
  // only a fault could reach. With such a table every branching node fails
  // at most once at each position before it is remembered. From a branching
  // node the match runs along one path to the next branching node (or the
  // end) and calls each node of the pattern at most once on the way: at most
  // nodes + 2 steps per cell with the two branching nodes at its ends. Every
  // later arrival at a remembered cell takes one step and comes along such a
  // path too, which at most doubles the count: 2 x (nodes + 2) per cell.
  static long long WithTable(const MemoPlan& plan, int usableSlots, std::size_t textLength) {
    const long long cells =
        static_cast<long long>(usableSlots) * static_cast<long long>(textLength + 1);
    const long long perCell = 2LL * (plan.nodes + 2);
    if (plan.complete && usableSlots == plan.slots && cells > RegexLimits::kMaxMatchSteps / perCell)
      return cells * perCell;
    return RegexLimits::kMaxMatchSteps;
  }
};

}  // namespace RegexEngine

#endif
