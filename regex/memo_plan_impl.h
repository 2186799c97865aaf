// Works out a pattern's MemoPlan (memo_plan.h) from its node graph.
#ifndef REGEX_MEMO_PLAN_IMPL_H
#define REGEX_MEMO_PLAN_IMPL_H

#include <cstdint>
#include <map>
#include <vector>

#include "regex/memo_plan.h"
#include "regex/node.h"

namespace RegexEngine {

// What each node can reach, computed to a fixed point over the graph (which
// has cycles through the group loops):
//   hard:    a node whose outcome reads captures or where the attempt began;
//   counted: the counted group loops reached other than through their
//            prologue;
//   zero:    the uncounted group loops reached along a path that consumes
//            nothing, other than through their prologue.
// A prologue clears its own loop from what it reaches, since it resets it.
// Every fact comes from the nodes themselves (node.h), so a node class that
// states none is never remembered.
template <class T>
MemoPlan BuildMemoPlan(const std::vector<BasicNode<T>*>& nodes) {
  using N = BasicNode<T>;
  MemoPlan plan;
  const int count = static_cast<int>(nodes.size());
  plan.slotOf.assign(nodes.size(), -1);
  plan.conditionStart.push_back(0);

  std::map<int, int> loopBit;  // group id of a loop -> its bit
  for (N* n : nodes) {
    const int gi = n->ReadsLoop().gi;
    if (gi != 0 && loopBit.count(gi) == 0) {
      const int bit = static_cast<int>(loopBit.size());
      loopBit[gi] = bit;
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
  for (int i = 0; i < count; ++i) {
    N* n = nodes[static_cast<std::size_t>(i)];
    if (n->next) edges[i].push_back({n->next->index, n->MinWidth() > 0});
    std::vector<N*> links;
    n->AppendLinks(links);
    for (N* link : links) edges[i].push_back({link->index, false});
    const typename N::LoopRead loop = n->ReadsLoop();
    if (n->ReadsCapturesOrStart()) {
      own[i].hard = true;
    } else if (loop.gi != 0) {
      if (loop.counted) {
        own[i].counted = bitOf(loop.gi);
      } else {
        own[i].zero = bitOf(loop.gi);
      }
    }
    const int reset = n->ResetsLoop();
    if (reset != 0 && loopBit.count(reset)) resets[i] = bitOf(reset);
  }

  // The fixed point, through a list of the nodes whose facts may have grown
  // from a successor's: a node's facts only grow, at most 129 times (hard and
  // the bits of up to 64 loops, twice), so the work stays about linear in
  // the size of the graph however deep its cycles nest.
  std::vector<std::vector<int>> from(nodes.size());  // the nodes with an edge to each
  for (int i = 0; i < count; ++i) {
    for (const Edge& e : edges[i]) from[static_cast<std::size_t>(e.to)].push_back(i);
  }
  std::vector<Facts> facts(own);
  std::vector<int> work;
  std::vector<char> listed(nodes.size(), 1);
  for (int i = 0; i < count; ++i) work.push_back(i);  // the highest index is taken first
  while (!work.empty()) {
    const int i = work.back();
    work.pop_back();
    listed[static_cast<std::size_t>(i)] = 0;
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
    if (f.hard == old.hard && f.counted == old.counted && f.zero == old.zero) continue;
    old = f;
    for (int before : from[static_cast<std::size_t>(i)]) {
      if (listed[static_cast<std::size_t>(before)]) continue;
      listed[static_cast<std::size_t>(before)] = 1;
      work.push_back(before);
    }
  }

  for (int i = 0; i < count; ++i) {
    N* n = nodes[static_cast<std::size_t>(i)];
    if (!n->MayRemember()) continue;
    const Facts& f = facts[i];
    if (f.hard || f.counted) continue;
    plan.slotOf[i] = plan.slots++;
    // A loop's own slot is used only when its iteration made progress, so its
    // own bit needs no check.
    const int ownLoop = n->ReadsLoop().gi;
    const std::uint64_t zero = ownLoop != 0 ? f.zero & ~bitOf(ownLoop) : f.zero;
    for (const auto& entry : loopBit) {
      if (zero & (std::uint64_t(1) << entry.second)) plan.conditionGroups.push_back(entry.first);
    }
    plan.conditionStart.push_back(static_cast<int>(plan.conditionGroups.size()));
  }
  return plan;
}

}  // namespace RegexEngine

template <class T>
const RegexEngine::MemoPlan& BasicPattern<T>::Plan() const {
  std::call_once(planOnce, [this] {
    plan.reset(new RegexEngine::MemoPlan(RegexEngine::BuildMemoPlan<T>(nodeRegistry)));
  });
  return *plan;
}

#endif
