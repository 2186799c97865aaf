// A matcher's table of remembered failures: one bit per slot of the
// pattern's plan (memo_plan.h) and per text position, set when the slot's
// node failed there. The matcher makes it only once an operation has taken
// some thousands of steps (match_budget.h), so short texts never pay for it,
// and keeps it for further operations on the same text in the same mode.
//
// Bound: at most kMaxRememberBytes. As many slots as fit get bits; the nodes
// of the others go without and are explored again wherever they are reached.
#ifndef REGEX_FAILURE_TABLE_H
#define REGEX_FAILURE_TABLE_H

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "regex/engine_check.h"
#include "regex/memo_plan.h"
#include "regex/regex_limits.h"

namespace RegexEngine {

class FailureTable {
 public:
  // The table for a text of the given length; the plan outlives it.
  FailureTable(const MemoPlan& plan, std::size_t textLength)
      : plan_(plan), textLength_(textLength), words_((textLength + 1 + 63) / 64) {
    const std::size_t fit = RegexLimits::kMaxRememberBytes / (words_ * sizeof(std::uint64_t));
    usable_ = static_cast<int>(fit < std::size_t(plan.slots) ? fit : std::size_t(plan.slots));
    if (usable_ > 0) {
      // Large blocks come as untouched zero pages: only what is marked costs.
      bits_ = static_cast<std::uint64_t*>(
          std::calloc(std::size_t(usable_) * words_, sizeof(std::uint64_t)));
      if (!bits_) usable_ = 0;
    }
  }
  ~FailureTable() { std::free(bits_); }
  FailureTable(const FailureTable&) = delete;
  FailureTable& operator=(const FailureTable&) = delete;

  // The slots that have bits: every slot of the plan, or as many as fit.
  int UsableSlots() const { return usable_; }
  std::size_t Bytes() const { return std::size_t(usable_) * words_ * sizeof(std::uint64_t); }

  // The slot of a node, or -1 when it has none.
  int SlotOf(int nodeIndex) const {
    REGEX_CHECK(nodeIndex >= 0 && std::size_t(nodeIndex) < plan_.slotOf.size());
    const int slot = plan_.slotOf[static_cast<std::size_t>(nodeIndex)];
    return slot < usable_ ? slot : -1;
  }
  // The first position at which a slot may be read or written, given the
  // starts of the current loop iterations (see MemoPlan).
  int FirstUsable(int slot, const int* loopStarts) const {
    REGEX_CHECK(slot >= 0 && slot < usable_);
    int first = INT_MIN;
    for (int k = plan_.conditionStart[slot]; k < plan_.conditionStart[slot + 1]; ++k) {
      const int start = loopStarts[plan_.conditionGroups[k]];
      if (start + 1 > first) first = start + 1;
    }
    return first;
  }
  bool Failed(int slot, int pos) const {
    CheckCell(slot, pos);
    const std::size_t bit = std::size_t(slot) * words_ * 64 + std::size_t(pos);
    return (bits_[bit >> 6] >> (bit & 63)) & 1u;
  }
  void MarkFailed(int slot, int pos) {
    CheckCell(slot, pos);
    const std::size_t bit = std::size_t(slot) * words_ * 64 + std::size_t(pos);
    bits_[bit >> 6] |= std::uint64_t(1) << (bit & 63);
  }

 private:
  // A cell is a slot that has bits and a position from 0 to the text length.
  void CheckCell(int slot, int pos) const {
    REGEX_CHECK(slot >= 0 && slot < usable_);
    REGEX_CHECK(pos >= 0 && std::size_t(pos) <= textLength_);
    (void)slot;
    (void)pos;
  }

  const MemoPlan& plan_;
  [[maybe_unused]] std::size_t textLength_;  // read by the range checks alone
  std::uint64_t* bits_ = nullptr;
  std::size_t words_;  // words per slot
  int usable_ = 0;     // slots that have bits
};

}  // namespace RegexEngine

#endif
