// Works out a pattern's MemoPlan (memo_plan.h) from its node graph.
#ifndef REGEX_MEMO_PLAN_IMPL_H
#define REGEX_MEMO_PLAN_IMPL_H

#include <cstdint>
#include <map>
#include <vector>

#include "regex/anchor_nodes.h"
#include "regex/group_loop_nodes.h"
#include "regex/memo_plan.h"
#include "regex/quantifier_nodes.h"
#include "regex/structure_nodes.h"

namespace MemoPlanning {

// A group loop whose outcome depends only on whether its current iteration
// began before the position: no upper bound, at most one mandatory
// iteration, and not possessive (whose steps compare iteration counts).
template <class T>
bool IsUncounted(const BasicGroupLoopNode<T>& loop) {
  return loop.type != BasicGroupLoopNode<T>::kPossessive &&
         loop.max == RegexLimits::kNoUpperBound && loop.min <= 1;
}

}  // namespace MemoPlanning

// What each node can reach, computed to a fixed point over the graph (which
// has cycles through the group loops):
//   hard:    a back reference or "\G";
//   counted: the counted group loops reached other than through their
//            prologue;
//   zero:    the uncounted group loops reached along a path that consumes
//            nothing, other than through their prologue.
// A prologue clears its own loop from what it reaches, since it resets it.
template <class T>
MemoPlan BuildMemoPlan(const std::vector<BasicNode<T>*>& nodes) {
  using N = BasicNode<T>;
  using Loop = BasicGroupLoopNode<T>;
  MemoPlan plan;
  const int count = static_cast<int>(nodes.size());
  plan.nodes = count;
  plan.slotOf.assign(nodes.size(), -1);
  plan.conditionStart.push_back(0);

  std::map<int, int> loopBit;  // group id of a loop -> its bit
  for (N* n : nodes) {
    if (auto* loop = dynamic_cast<Loop*>(n)) {
      if (loopBit.count(loop->gi) == 0) {
        const int bit = static_cast<int>(loopBit.size());
        loopBit[loop->gi] = bit;
      }
    }
  }
  if (loopBit.size() > 64) return plan;  // too many loops to follow: no slots
  auto bitOf = [&loopBit](int gi) { return std::uint64_t(1) << loopBit[gi]; };

  struct Edge {
    int to;
    bool consumes;
  };
  struct Facts {
    bool hard = false;
    std::uint64_t counted = 0;
    std::uint64_t zero = 0;
  };
  std::vector<std::vector<Edge>> edges(nodes.size());
  std::vector<Facts> own(nodes.size());
  std::vector<std::uint64_t> resets(nodes.size(), 0);
  bool anyHard = false, anyCounted = false;
  for (int i = 0; i < count; ++i) {
    N* n = nodes[static_cast<std::size_t>(i)];
    if (n->next) edges[i].push_back({n->next->index, n->MinWidth() > 0});
    std::vector<N*> links;
    n->AppendLinks(links);
    if (auto* accept = dynamic_cast<BasicAcceptNode<T>*>(n)) {
      if (accept->resume) links.push_back(accept->resume);
    }
    for (N* link : links) edges[i].push_back({link->index, false});
    if (dynamic_cast<BasicReferenceNode<T>*>(n) || dynamic_cast<BasicEndOfMatchNode<T>*>(n)) {
      own[i].hard = anyHard = true;
    } else if (auto* loop = dynamic_cast<Loop*>(n)) {
      if (MemoPlanning::IsUncounted(*loop)) {
        own[i].zero = bitOf(loop->gi);
      } else {
        own[i].counted = bitOf(loop->gi);
        anyCounted = true;
      }
    } else if (auto* prologue = dynamic_cast<BasicGroupLoopPrologueNode<T>*>(n)) {
      if (loopBit.count(prologue->gi)) resets[i] = bitOf(prologue->gi);
    }
  }

  std::vector<Facts> facts(own);
  for (bool changed = true; changed;) {
    changed = false;
    for (int i = count - 1; i >= 0; --i) {
      Facts f = own[i];
      for (const Edge& e : edges[i]) {
        const Facts& to = facts[static_cast<std::size_t>(e.to)];
        f.hard = f.hard || to.hard;
        f.counted |= to.counted;
        if (!e.consumes) f.zero |= to.zero;
      }
      f.counted &= ~resets[i];
      f.zero &= ~resets[i];
      Facts& old = facts[i];
      if (f.hard != old.hard || f.counted != old.counted || f.zero != old.zero) {
        old = f;
        changed = true;
      }
    }
  }

  bool allBranchesHaveSlots = true;
  for (int i = 0; i < count; ++i) {
    N* n = nodes[static_cast<std::size_t>(i)];
    auto* loop = dynamic_cast<Loop*>(n);
    const bool branches = dynamic_cast<BasicQuantifierNode<T>*>(n) ||
                          dynamic_cast<BasicOrNode<T>*>(n) ||
                          (loop && MemoPlanning::IsUncounted(*loop));
    if (!branches) continue;
    const Facts& f = facts[i];
    if (f.hard || f.counted) {
      allBranchesHaveSlots = false;
      continue;
    }
    plan.slotOf[i] = plan.slots++;
    // A loop's own slot is used only when its iteration made progress, so its
    // own bit needs no check.
    const std::uint64_t zero = loop ? f.zero & ~bitOf(loop->gi) : f.zero;
    for (const auto& entry : loopBit) {
      if (zero & (std::uint64_t(1) << entry.second)) plan.conditionGroups.push_back(entry.first);
    }
    plan.conditionStart.push_back(static_cast<int>(plan.conditionGroups.size()));
  }
  plan.complete = allBranchesHaveSlots && !anyHard && !anyCounted;
  return plan;
}

template <class T>
const MemoPlan& BasicPattern<T>::Plan() const {
  std::call_once(planOnce, [this] { plan = BuildMemoPlan<T>(nodeRegistry); });
  return plan;
}

#endif
