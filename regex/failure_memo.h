// A matcher's table of remembered failures: one bit per slot of the
// pattern's plan and per text position, set when the slot's node failed
// there. The table is made only once an operation has taken some thousands
// of steps (match_budget.h), so short texts never pay for it, and it stays
// valid for further operations on the same text in the same mode. It also
// keeps, per long literal text of the pattern, where that text occurs.
#ifndef REGEX_FAILURE_MEMO_H
#define REGEX_FAILURE_MEMO_H

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "regex/memo_plan.h"
#include "regex/regex_limits.h"

class FailureMemo {
 public:
  FailureMemo() = default;
  FailureMemo(const FailureMemo&) = delete;
  FailureMemo& operator=(const FailureMemo&) = delete;
  ~FailureMemo() { Reset(); }

  // Makes the table for a text of the given length. As many slots as fit in
  // kMaxRememberBytes get bits; the rest stay without.
  void Enable(const MemoPlan& plan, std::size_t textLength) {
    Reset();
    tried_ = true;
    plan_ = &plan;
    words_ = (textLength + 1 + 63) / 64;
    const std::size_t fit = RegexLimits::kMaxRememberBytes / (words_ * sizeof(std::uint64_t));
    usable_ = static_cast<int>(fit < std::size_t(plan.slots) ? fit : std::size_t(plan.slots));
    if (usable_ > 0) {
      // Large blocks come as untouched zero pages: only what is marked costs.
      bits_ = static_cast<std::uint64_t*>(
          std::calloc(std::size_t(usable_) * words_, sizeof(std::uint64_t)));
      if (!bits_) usable_ = 0;
    }
    const long long cells =
        static_cast<long long>(usable_) * static_cast<long long>(textLength + 1);
    const long long perCell = 2LL * (plan.nodes + 2);
    budget_ = RegexLimits::kMaxMatchSteps;
    if (plan.complete && usable_ == plan.slots && cells > budget_ / perCell)
      budget_ = cells * perCell;
  }

  // Forgets the table (a new text, or another mode).
  void Reset() {
    std::free(bits_);
    bits_ = nullptr;
    literals_.clear();
    literalBytes_ = 0;
    plan_ = nullptr;
    usable_ = 0;
    tried_ = false;
    budget_ = RegexLimits::kMaxMatchSteps;
  }

  // True once Enable has run for the present text and mode.
  bool Tried() const { return tried_; }
  // The step bound of an operation: the counted bound, or, when the table
  // covers the whole pattern, a bound proportional to the table that only a
  // fault could reach.
  long long StepBudget() const { return budget_; }

  // The slot of a node, or -1 when it has none (or the table is off).
  int SlotOf(int nodeIndex) const {
    if (!bits_) return -1;
    const int slot = plan_->slotOf[static_cast<std::size_t>(nodeIndex)];
    return slot < usable_ ? slot : -1;
  }
  // The first position at which a slot may be read or written, given the
  // starts of the current loop iterations (see MemoPlan).
  int FirstUsable(int slot, const int* loopStarts) const {
    int first = INT_MIN;
    for (int k = plan_->conditionStart[slot]; k < plan_->conditionStart[slot + 1]; ++k) {
      const int start = loopStarts[plan_->conditionGroups[k]];
      if (start + 1 > first) first = start + 1;
    }
    return first;
  }
  bool Failed(int slot, int pos) const {
    const std::size_t bit = std::size_t(slot) * words_ * 64 + std::size_t(pos);
    return (bits_[bit >> 6] >> (bit & 63)) & 1u;
  }
  void MarkFailed(int slot, int pos) {
    const std::size_t bit = std::size_t(slot) * words_ * 64 + std::size_t(pos);
    bits_[bit >> 6] |= std::uint64_t(1) << (bit & 63);
  }

  // Where the long literal text of a node starts in the text, one bit per
  // position; null when not worked out yet, empty when it did not fit.
  const std::vector<std::uint64_t>* LiteralStarts(int nodeIndex) const {
    const auto it = literals_.find(nodeIndex);
    return it == literals_.end() ? nullptr : &it->second;
  }
  // Keeps them when they fit in what the table leaves of kMaxRememberBytes,
  // else keeps an empty mark; returns what is kept.
  const std::vector<std::uint64_t>* KeepLiteralStarts(int nodeIndex,
                                                      std::vector<std::uint64_t> starts) {
    const std::size_t bytes = starts.size() * sizeof(std::uint64_t);
    const std::size_t table = std::size_t(usable_) * words_ * sizeof(std::uint64_t);
    if (table + literalBytes_ + bytes > RegexLimits::kMaxRememberBytes) starts.clear();
    literalBytes_ += starts.size() * sizeof(std::uint64_t);
    return &(literals_[nodeIndex] = std::move(starts));
  }

 private:
  const MemoPlan* plan_ = nullptr;
  std::uint64_t* bits_ = nullptr;
  std::size_t words_ = 0;  // words per slot
  int usable_ = 0;         // slots that have bits
  bool tried_ = false;
  long long budget_ = RegexLimits::kMaxMatchSteps;
  std::map<int, std::vector<std::uint64_t>> literals_;  // by node index
  std::size_t literalBytes_ = 0;
};

#endif
