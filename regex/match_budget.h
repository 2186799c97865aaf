// The accounting of one operation of a matcher (a whole-text match or one
// find): how deep node calls nest, how many steps the operation has taken,
// the step count at which the matcher's failure table switches on, and the
// step bound. Every call from one node into another enters and leaves
// through it; work done in a loop (iterations, characters compared) is spent
// through it. Once a bound is passed the operation is exhausted: every
// further call fails at once, and the operation ends as a no-match.
#ifndef REGEX_MATCH_BUDGET_H
#define REGEX_MATCH_BUDGET_H

#include <climits>

#include "regex/regex_limits.h"

namespace RegexEngine {

// Owner::SwitchOnTable() makes the owner's failure table.
template <class Owner>
class MatchBudget {
 public:
  explicit MatchBudget(Owner* owner) : owner_(owner) {}
  MatchBudget(const MatchBudget&) = delete;
  MatchBudget& operator=(const MatchBudget&) = delete;

  // Never: a switchOnAt that no operation reaches.
  static constexpr long long kNever = LLONG_MAX;

  // Starts an operation with no nesting and no steps. The table switches on
  // once the steps pass switchOnAt (kNever: it is on already, or stays off);
  // the operation may take limit steps. An operation that cannot run at all
  // starts exhausted.
  void Start(long long switchOnAt, long long limit, bool exhausted) {
    depth_ = 0;
    steps_ = 0;
    switchOnAt_ = switchOnAt;
    limit_ = limit;
    nextCheck_ = switchOnAt_ < limit_ ? switchOnAt_ : limit_;
    exhausted_ = exhausted;
  }

  // One more nested node call, which takes a step; false when a bound is
  // passed (and then nothing is entered).
  bool Enter() {
    if (exhausted_) return false;
    if (++depth_ > RegexLimits::kMaxMatchDepth || (++steps_ > nextCheck_ && !Check())) {
      exhausted_ = true;
      --depth_;
      return false;
    }
    return true;
  }
  // One more level of nesting without a step (an iteration that recurses);
  // false when the nesting bound is passed.
  bool Nest() {
    if (++depth_ > RegexLimits::kMaxMatchDepth) {
      exhausted_ = true;
      --depth_;
      return false;
    }
    return true;
  }
  // Ends what Enter or Nest began.
  void Leave() { --depth_; }

  // Counts n steps of work done in a loop; false once the operation is
  // exhausted.
  bool Spend(long long n) {
    steps_ += n;
    if (steps_ > nextCheck_ && !Check()) exhausted_ = true;
    return !exhausted_;
  }

  bool Exhausted() const { return exhausted_; }
  // Ends the operation: a bound other than the steps and the nesting (the
  // room for saved group positions) would be passed.
  void Stop() { exhausted_ = true; }

  // Enters on construction and leaves on destruction.
  class Call {
   public:
    explicit Call(MatchBudget& budget) : budget_(budget), entered_(budget.Enter()) {}
    ~Call() {
      if (entered_) budget_.Leave();
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    bool Entered() const { return entered_; }

   private:
    MatchBudget& budget_;
    const bool entered_;
  };

 private:
  // The steps have passed nextCheck_: switches the table on when that is
  // due, and answers whether the steps are still within the bound.
  bool Check() {
    if (steps_ > switchOnAt_) {
      switchOnAt_ = kNever;
      nextCheck_ = limit_;
      owner_->SwitchOnTable();
    }
    return steps_ <= limit_;
  }

  Owner* owner_;
  int depth_ = 0;
  long long steps_ = 0;
  long long switchOnAt_ = kNever;
  long long limit_ = 0;
  long long nextCheck_ = 0;  // the smaller of switchOnAt_ and limit_
  bool exhausted_ = false;
};

}  // namespace RegexEngine

#endif
