// The table of remembered failures changes no answer: random patterns over
// the engine's whole syntax (back references, "\G", counted, possessive and
// nested group loops, look-arounds, alternations) and random texts, matched
// once with remembering from the first step and once without it, must give
// the same whole-text answer, the same successive finds and the same groups,
// on both copies.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "regex/memo_plan_impl.h"
#include "regex/node_names.h"
#include "regex/regex_limits.h"
#include "tests/regex/regex_test_util.h"

namespace {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }

 private:
  std::uint64_t state_;
};

// Writes random pattern texts; groups are counted so that back references
// mostly name groups that exist.
class PatternWriter {
 public:
  explicit PatternWriter(Rng& rng) : rng_(rng) {}

  std::string Write() {
    groups_ = 0;
    return Alternatives(0);
  }

 private:
  std::string Alternatives(int depth) {
    std::string s = Sequence(depth);
    while (rng_.Chance(depth == 0 ? 25 : 30)) s += "|" + Sequence(depth);
    return s;
  }

  std::string Sequence(int depth) {
    std::string s;
    const int pieces = (depth == 0 ? 1 : 0) + rng_.Below(4);
    for (int i = 0; i < pieces; ++i) s += Piece(depth);
    return s;
  }

  std::string Piece(int depth) {
    bool quantifiable = true;
    std::string atom = Atom(depth, quantifiable);
    if (!quantifiable || !rng_.Chance(40)) return atom;
    static const char* const kQuantifiers[] = {"*",     "+",    "?",    "{2}", "{0,2}",
                                               "{1,3}", "{2,}", "{0,}", "{1,}"};
    std::string q = kQuantifiers[rng_.Below(9)];
    const int suffix = rng_.Below(10);
    if (suffix < 3)
      q += "?";
    else if (suffix < 5)
      q += "+";
    return atom + q;
  }

  std::string Atom(int depth, bool& quantifiable) {
    int roll = rng_.Below(100);
    if (depth >= 3 && roll >= 55) roll = rng_.Below(55);
    if (roll < 25) return std::string(1, "aab0"[rng_.Below(4)]);
    if (roll < 30) return ".";
    if (roll < 38) {
      static const char* const kClasses[] = {"[ab]", "[^a]", "\\d", "\\w", "[a0]", "\\Qab\\E"};
      return kClasses[rng_.Below(6)];
    }
    if (roll < 45) {
      if (groups_ == 0 || rng_.Chance(10)) return "\\" + std::to_string(1 + rng_.Below(3));
      return "\\" + std::to_string(1 + rng_.Below(groups_));
    }
    if (roll < 55) {
      quantifiable = false;
      static const char* const kAnchors[] = {"^",   "$",   "\\b", "\\B",    "\\A",
                                             "\\z", "\\Z", "\\G", "(?<=a)", "(?<!b)"};
      return kAnchors[rng_.Below(10)];
    }
    if (roll < 85) {
      const int kind = rng_.Below(10);
      if (kind < 5) {
        ++groups_;
        return "(" + Alternatives(depth + 1) + ")";
      }
      if (kind < 7) return "(?:" + Alternatives(depth + 1) + ")";
      quantifiable = false;
      if (kind == 7) return "(?=" + Alternatives(depth + 1) + ")";
      if (kind == 8) return "(?!" + Alternatives(depth + 1) + ")";
      return "(?>" + Alternatives(depth + 1) + ")";
    }
    return std::string(1, "ab"[rng_.Below(2)]);
  }

  Rng& rng_;
  int groups_ = 0;
};

template <class T>
struct Run {
  using P = BasicPattern<T>;

  static std::string Describe(const typename P::Matcher& m) {
    std::string s;
    for (size_t g = 0; g < m.GetGroups(true).size(); ++g) {
      s += std::to_string(m.GetStartingIndex(static_cast<int>(g))) + "," +
           std::to_string(m.GetEndingIndex(static_cast<int>(g))) + " ";
    }
    return s;
  }

  // The whole-text answer, then every successive find, then a second whole
  // text answer (after the finds, with the table of the finds dropped); the
  // first operation that ends at a bound ends the list.
  static std::string Answers(const std::string& pattern, unsigned long flags,
                             const std::string& text, bool* limited) {
    std::unique_ptr<P> p(P::Compile(Text<T>(pattern), flags));
    if (!p) return "no compile";
    std::unique_ptr<typename P::Matcher> m(p->CreateMatcher(Text<T>(text)));
    std::string s = m->Matches() ? "whole " + Describe(*m) : "no whole";
    for (size_t n = 0; !m->LimitExceeded() && n <= text.size() + 1 && m->FindNextMatch(); ++n)
      s += "| find " + Describe(*m);
    if (!m->LimitExceeded()) s += m->Matches() ? "| whole again" : "| no whole again";
    *limited = m->LimitExceeded();
    return s;
  }
};

// Sets when remembering starts for as long as it lives.
using RememberAfter = RegexLimits::ScopedTestLimits;

constexpr long long kNever = RegexLimits::kNeverRemember;

template <class T>
class RememberingTest : public ::testing::Test {};
TYPED_TEST_SUITE(RememberingTest, BothCopies);

TYPED_TEST(RememberingTest, ChangesNoAnswerOnRandomPatterns) {
  Rng rng(0x7AB1E5EEDull);
  PatternWriter writer(rng);
  const unsigned long kFlags[] = {0, 0, 1, 4, 8, 12};
  int compared = 0, differences = 0;
  for (int i = 0; i < 6000; ++i) {
    const std::string pattern = writer.Write();
    const unsigned long flags = kFlags[rng.Below(6)];
    for (int k = 0; k < 3; ++k) {
      std::string text;
      const int length = rng.Below(k == 2 ? 40 : 14);
      for (int n = 0; n < length; ++n) text += "aab0\n "[rng.Below(6)];
      bool limitedWithout = false, limitedWith = false;
      std::string without, with;
      {
        RememberAfter never(kNever);
        without = Run<TypeParam>::Answers(pattern, flags, text, &limitedWithout);
      }
      {
        RememberAfter first(0);
        with = Run<TypeParam>::Answers(pattern, flags, text, &limitedWith);
      }
      // Without the table a case may end at the step bound; it then proves
      // nothing. With the table the bound must not be reached where it was not.
      if (limitedWithout) continue;
      ++compared;
      EXPECT_FALSE(limitedWith) << pattern << " on \"" << text << "\"";
      if (with != without && ++differences <= 20) {
        ADD_FAILURE() << "pattern " << pattern << " flags " << flags << " text \"" << text
                      << "\"\n  without: " << without << "\n  with:    " << with;
      }
    }
  }
  EXPECT_EQ(differences, 0);
  EXPECT_GT(compared, 15000);
}

// Long literal texts and look-behinds are looked up in an index of their
// occurrences once the table exists: the same answers as comparing them.
TYPED_TEST(RememberingTest, LongLiteralsGiveTheSameAnswersFromTheirIndex) {
  const std::string lit = "abababababababab";  // 16 characters
  const std::string patterns[] = {
      "\\Q" + lit + "\\E",      "(?i)\\Q" + lit + "\\E", ".*\\Q" + lit + "\\E.",
      "(?<=" + lit + ")b?",     "(?<!" + lit + ")a",     "(a|b)*?\\Q" + lit + "\\E",
      "(?:\\Q" + lit + "\\E)+", "x*\\Q" + lit + "aB\\E",
  };
  Rng rng(0x11733Dull);
  int differences = 0;
  for (const std::string& pattern : patterns) {
    for (int k = 0; k < 200; ++k) {
      std::string text;
      for (int n = rng.Below(60); n > 0; --n)
        text += rng.Chance(80) ? (text.size() % 2 ? 'b' : 'a') : "aBx"[rng.Below(3)];
      bool limited = false;
      std::string without, with;
      {
        RememberAfter never(kNever);
        without = Run<TypeParam>::Answers(pattern, 0, text, &limited);
      }
      {
        RememberAfter first(0);
        with = Run<TypeParam>::Answers(pattern, 0, text, &limited);
      }
      if (with != without && ++differences <= 20) {
        ADD_FAILURE() << "pattern " << pattern << " text \"" << text << "\"\n  without: " << without
                      << "\n  with:    " << with;
      }
    }
  }
  EXPECT_EQ(differences, 0);
}

// Loops whose body can end where it began, some inside a look-ahead and so
// run again from other positions: here a node of the body is reached at one
// position both right at the start of an iteration and after the body
// consumed text, where the loop behaves differently; the table must keep the
// two apart. Loops of at most one iteration, whose body is remembered too,
// are among them.
TYPED_TEST(RememberingTest, KeepsLoopIterationStartsApart) {
  Rng rng(0x100B5EEDull);
  const char* const kParts[] = {"a",      "b",      "a?",   "b?",      "(?:a|)",
                                "(?:|a)", "(?:b|)", "(a|)", "a*",      "(?=a)",
                                "(?=b)",  "(?!a)",  "b*?",  "(?:a|b)", "(?:ab|a|)"};
  auto part = [&] { return std::string(kParts[rng.Below(15)]); };
  // Cases once found to differ when the table ignored where the iteration
  // began.
  struct Case {
    std::string pattern, text;
  };
  std::vector<Case> cases = {
      {"(?=(?:b*?(a|)(?:a|)(?=b)|b)*(?=a))(?:a|b)b", "bbabbbba"},
      {"(?=(?:(a|)(?:ab|a|)(?=b)(?:ab|a|)|(?:a|b))+a)ab", "abaaba"},
      {"(?=(?:b?(a|)(?!a)|b?)+(?=a))b*?b", "bbbba"},
      {"(?=(?:(?:|a)a*|b*?)*?bb)a*b", "abababba"},
      {"(?=(?:b*?(?=a)|a)+b)b?b", "bbbaabab"},
  };
  for (int i = 0; i < 50000; ++i) {
    std::string body;
    for (int k = 1 + rng.Below(4); k > 0; --k) body += part();
    if (rng.Chance(50)) body += "|" + part();
    // Loops of at most one iteration are remembered inside as well.
    const char* const kLoops[] = {"*", "+", "*?", "?", "??", "?+", "{0,1}", "{1}"};
    std::string pattern =
        "(?:" + body + ")" + kLoops[rng.Below(8)] + part() + (rng.Chance(50) ? "b" : "");
    if (rng.Chance(60)) pattern = "(?=" + pattern + ")" + part() + "b";
    std::string text;
    for (int n = rng.Below(10); n > 0; --n) text += "ab"[rng.Below(2)];
    cases.push_back({pattern, text});
  }
  int differences = 0;
  for (const Case& c : cases) {
    bool limited = false;
    std::string without, with;
    {
      RememberAfter never(kNever);
      without = Run<TypeParam>::Answers(c.pattern, 0, c.text, &limited);
    }
    {
      RememberAfter first(0);
      with = Run<TypeParam>::Answers(c.pattern, 0, c.text, &limited);
    }
    if (with != without && ++differences <= 20) {
      ADD_FAILURE() << "pattern " << c.pattern << " text \"" << c.text
                    << "\"\n  without: " << without << "\n  with:    " << with;
    }
  }
  EXPECT_EQ(differences, 0);
}

// A node class that states none of its facts, as a node class added later
// might: it could read what the groups captured.
class SilentNode : public NFANode {
 public:
  int Match(const std::string& text, Matcher* m, int cur) const override {
    return Continue(text, m, cur);
  }
  bool PrintLines(unsigned int, RegexEngine::NodePrintWalk&) const override { return true; }
};

// Whether the alternation a|b gets a slot in the plan when what follows it
// (through the successor of both alternatives, or only through the resume
// link of the Accept node that ends them) is the given node.
bool AlternationRemembered(NFANode* follower, bool throughResume) {
  std::vector<std::unique_ptr<NFANode>> owned;
  auto add = [&owned](NFANode* n) {
    n->index = static_cast<int>(owned.size());
    owned.emplace_back(n);
    return n;
  };
  NFANode* a = add(new NFACharNode('a'));
  NFANode* b = add(new NFACharNode('b'));
  NFANode* alternation = add(new NFAOrNode(a, b));
  auto* accept = static_cast<NFAAcceptNode*>(add(new NFAAcceptNode()));
  a->next = b->next = accept;
  add(follower);
  if (throughResume)
    accept->resume = follower;
  else
    accept->next = follower;
  follower->next = add(new NFAEndNode());
  std::vector<NFANode*> nodes;
  for (const auto& n : owned) nodes.push_back(n.get());
  return RegexEngine::BuildMemoPlan<NarrowTraits>(nodes).slotOf[alternation->index] >= 0;
}

// The plan asks every node for its facts, and the safe answers are the
// defaults: a node class that states nothing is never remembered, and
// neither is a node from which it can be reached, along any link.
TEST(MemoPlanTest, NodesThatStateNothingAreNotRemembered) {
  EXPECT_TRUE(AlternationRemembered(new NFASubStartNode(), false));
  EXPECT_TRUE(AlternationRemembered(new NFASubStartNode(), true));
  EXPECT_FALSE(AlternationRemembered(new SilentNode(), false));
  EXPECT_FALSE(AlternationRemembered(new SilentNode(), true));
  EXPECT_FALSE(AlternationRemembered(new NFAReferenceNode(1), true));
  EXPECT_FALSE(AlternationRemembered(new NFAEndOfMatchNode(), false));
}

// The facts that keep a node out of the plan reach it through any number of
// nested alternations: in a|b|...|\1 every Or node reaches the back
// reference through its second alternative, and in \1|b|...|b only the
// outermost one does; with no back reference every Or node has a slot.
TEST(MemoPlanTest, FactsReachThroughLongChainsOfAlternatives) {
  const int kAlternatives = 1998;  // the most one group can hold
  auto slots = [](const std::string& first, const std::string& last) {
    std::string pattern = "(a)(?:" + first;
    for (int i = 2; i < kAlternatives; ++i) pattern += "|b";
    auto p = Own(Pattern::Compile(pattern + "|" + last + ")", 0));
    return p ? p->Plan().slots : -1;
  };
  EXPECT_EQ(slots("b", "c"), kAlternatives - 1);
  EXPECT_EQ(slots("b", "\\1"), 0);
  EXPECT_EQ(slots("\\1", "b"), kAlternatives - 2);
}

}  // namespace
