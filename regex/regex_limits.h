// Bounds that keep compiling and matching inside the thread's stack.
#ifndef REGEX_LIMITS_H
#define REGEX_LIMITS_H

namespace RegexLimits {

// A quantifier without upper bound carries this maximum.
constexpr int kNoUpperBound = 2147483647;

// Deepest nesting of node calls one match attempt may reach. A match that
// would need more ends as a no-match instead of exhausting the stack.
constexpr int kMaxMatchDepth = 20000;

// Most node steps (calls between nodes, and characters or iterations taken
// by repetitions) one operation may take. Past it the operation ends as a
// no-match rather than running for an unbounded time on nested repetitions.
constexpr long long kMaxMatchSteps = 100000000;

// Deepest nesting of parser levels (groups, alternatives, expansions).
// Deeper patterns are syntax errors.
constexpr int kMaxParseDepth = 2000;

// Counts one more nesting level (a parser level or a nested bracket class)
// for as long as it lives.
struct DepthGuard {
  int& depth;
  explicit DepthGuard(int& d) : depth(++d) {}
  ~DepthGuard() { --depth; }
};

}  // namespace RegexLimits

#endif
