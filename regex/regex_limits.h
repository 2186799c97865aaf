// Bounds that keep compiling and matching inside the thread's stack, in
// finite time and in bounded memory.
#ifndef REGEX_LIMITS_H
#define REGEX_LIMITS_H

#include <climits>
#include <cstddef>

namespace RegexLimits {

// A quantifier without upper bound carries this maximum.
constexpr int kNoUpperBound = 2147483647;

// Deepest nesting of node calls one match attempt may reach. A match that
// would need more ends as a no-match instead of exhausting the stack.
constexpr int kMaxMatchDepth = 20000;

// Most steps one operation (a whole-text match, or one find) may take: node
// calls, iterations of repetitions, characters compared by literal texts,
// back references and look-behinds, characters skipped by the search, and
// the group positions cleared, saved and put back. Past it the operation
// ends as a no-match rather than running for an unbounded time; it holds
// with and without the failure table.
constexpr long long kMaxMatchSteps = 100000000;

// Steps an operation takes before the matcher starts remembering the
// positions from which parts of the pattern have failed. Ordinary lines end
// well before it and never pay for the table.
constexpr long long kRememberAfterSteps = 4096;

// Largest table of remembered failures one matcher keeps.
constexpr std::size_t kMaxRememberBytes = std::size_t(64) << 20;

// Most group positions one matcher may hold saved at once: look-aheads and
// independent groups save those of their body's groups for as long as the
// rest of the pattern runs, and inside a loop every iteration saves its own.
// A save that would pass it ends the operation as a no-match.
constexpr std::size_t kMaxSavedGroupBytes = std::size_t(16) << 20;

// Deepest nesting of parser levels (groups, alternatives, expansions).
// Deeper patterns are syntax errors.
constexpr int kMaxParseDepth = 2000;

// ---- Test-only seam ----
// The limits a matcher reads at the start of each operation. The program
// always runs with the constants above; only tests and the fuzz target put
// others in force, through ScopedTestLimits, and nothing else writes them.
struct MatchLimits {
  // Steps after which the failure table switches on (kNeverRemember: never).
  long long rememberAfterSteps = kRememberAfterSteps;
  // Steps one operation may take.
  long long maxMatchSteps = kMaxMatchSteps;
};

// A rememberAfterSteps that no operation reaches: the table never switches on.
constexpr long long kNeverRemember = LLONG_MAX;

class ScopedTestLimits;

// The match limits in force: the constants above, unless a ScopedTestLimits
// lives.
class MatchLimitsInForce {
 public:
  static const MatchLimits& Get() { return Stored(); }

 private:
  friend class ScopedTestLimits;
  static MatchLimits& Stored() {
    static MatchLimits limits;
    return limits;
  }
};

// Puts other match limits in force for as long as it lives, then the earlier
// ones back. For tests and the fuzz target only.
class ScopedTestLimits {
 public:
  explicit ScopedTestLimits(long long rememberAfterSteps, long long maxMatchSteps = kMaxMatchSteps)
      : saved_(MatchLimitsInForce::Get()) {
    MatchLimitsInForce::Stored().rememberAfterSteps = rememberAfterSteps;
    MatchLimitsInForce::Stored().maxMatchSteps = maxMatchSteps;
  }
  ~ScopedTestLimits() { MatchLimitsInForce::Stored() = saved_; }
  ScopedTestLimits(const ScopedTestLimits&) = delete;
  ScopedTestLimits& operator=(const ScopedTestLimits&) = delete;

 private:
  MatchLimits saved_;
};

// Counts one more nesting level (a parser level or a nested bracket class)
// for as long as it lives.
struct DepthGuard {
  int& depth;
  explicit DepthGuard(int& d) : depth(++d) {}
  ~DepthGuard() { --depth; }
};

}  // namespace RegexLimits

#endif
