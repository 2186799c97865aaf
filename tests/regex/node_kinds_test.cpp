// Every node kind of the kind list (regex/node_names.h) stands on a side of
// the failure table's plan (regex/memo_plan.h) that was chosen for it:
//   remembered: a node where backtracking branches; it gets a slot of its own
//               and lets the nodes from which it is reached be remembered;
//   passes on:  no slot of its own, and the branching nodes from which it is
//               reached keep theirs;
//   blocks:     its outcome reads what the groups captured or where the
//               attempt began, so no node from which it can be reached gets a
//               slot.
// A node class that states none of its facts blocks, which is safe but makes
// a linear search through it run into the step bound. So every kind has its
// line below, and a kind added to the list without one does not compile.
//
// Each kind is checked on both copies against a simple pattern that holds
// it (the base of the three repetition kinds, which no pattern builds, on a
// hand-built graph): for the facts of the plan, and for the answer of a
// pattern that puts an alternation inside a loop, (?:a|a)*, before it. That
// loop has 2^40 ways over 40 'a'; the table tries each of its positions once,
// so where the kind lets it be remembered the match ends with its answer long
// before the step bound, and where the kind blocks it ends at the bound.
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "regex/memo_plan_impl.h"
#include "regex/node_names.h"
#include "regex/regex_limits.h"
#include "tests/regex/regex_test_util.h"

namespace {

enum class Side { kRemembered, kPassesOn, kBlocks };

// The side of a kind, and the patterns it is checked against:
//   kFragment: a pattern that holds nodes of the kind, and kText, what it
//              matches right after a run of 'a' (empty where it matches
//              nothing there);
//   kInner:    for a kind with an inner chain, a pattern whose only back
//              reference stands inside that chain, which the plan must
//              follow; null for the others.
// No definition: a kind without its line below does not compile.
template <class Node>
struct Placement;

#define PLACE(kind, side, fragment, text, inner)       \
  template <>                                          \
  struct Placement<NFA##kind##Node> {                  \
    static constexpr Side kSide = Side::side;          \
    static constexpr const char* kFragment = fragment; \
    static constexpr const char* kText = text;         \
    static constexpr const char* kInner = inner;       \
  };

// Every pattern begins with the start node, which nothing reaches (so its
// side shows in its own slot alone), and ends with the end node.
PLACE(Start, kPassesOn, "b", "b", nullptr)
PLACE(End, kPassesOn, "b", "b", nullptr)
// Each alternative begins with a sub-start node and ends with an accept node.
PLACE(SubStart, kPassesOn, "(?:b|c)", "c", nullptr)
PLACE(Accept, kPassesOn, "(?:b|c)", "c", nullptr)
PLACE(Char, kPassesOn, "b", "b", nullptr)
PLACE(CIChar, kPassesOn, "(?i)b", "B", nullptr)
PLACE(Class, kPassesOn, "[bc]", "c", nullptr)
PLACE(CIClass, kPassesOn, "(?i)[bc]", "C", nullptr)
PLACE(Quote, kPassesOn, "\\Qbc\\E", "bc", nullptr)
PLACE(CIQuote, kPassesOn, "(?i)\\Qbc\\E", "BC", nullptr)
PLACE(Or, kRemembered, "(?:b|c)", "c", "(?:\\1|c)")
PLACE(LookAhead, kPassesOn, "(?=b)(?!c)b", "b", "(?=\\1)")
// Also the node of an inline flag setting.
PLACE(LookBehind, kPassesOn, "(?<=a)(?<!b)b", "b", nullptr)
PLACE(StartOfLine, kPassesOn, "(?m)\n^b", "\nb", nullptr)
PLACE(EndOfLine, kPassesOn, "(?m)$\n", "\n", nullptr)
PLACE(StartOfInput, kPassesOn, "\\A", "", nullptr)
PLACE(EndOfInput, kPassesOn, "\\Z", "", nullptr)
PLACE(WordBoundary, kPassesOn, "\\B", "", nullptr)
// Where the current attempt began.
PLACE(EndOfMatch, kBlocks, "\\G", "", nullptr)
// What a group captured.
PLACE(Reference, kBlocks, "(b)\\1", "bb", nullptr)
PLACE(GroupHead, kPassesOn, "(b)", "b", nullptr)
PLACE(GroupTail, kPassesOn, "(b)", "b", nullptr)
PLACE(GreedyQuantifier, kRemembered, "b*", "bb", "\\1*")
PLACE(LazyQuantifier, kRemembered, "b*?", "bb", "\\1*?")
// Also the independent group.
PLACE(PossessiveQuantifier, kRemembered, "b*+(?>b|c)", "bbc", "(?>\\1)")
// It resets its loop, so a node from which a counted loop is reached
// through its prologue is remembered, though nothing inside that loop is.
PLACE(GroupLoopPrologue, kPassesOn, "(?:b|c){2,3}", "bc", nullptr)
// An uncounted loop ('*' or '+' on a group); a counted one has no slot.
PLACE(GroupLoop, kRemembered, "(?:bc)*", "bcbc", "(?:\\1b)*")
#undef PLACE

// The base of the three repetition kinds: no pattern builds it on its own, so
// it is checked on a graph built by hand, a repetition of inner.
template <>
struct Placement<NFAQuantifierNode> {
  static constexpr Side kSide = Side::kRemembered;
  template <class T>
  static BasicNode<T>* Build(BasicPattern<T>& owner, BasicNode<T>* inner) {
    return owner.RegisterNode(new BasicQuantifierNode<T>(&owner, inner, 0, 5));
  }
};

template <class P, class = void>
struct HandBuilt : std::false_type {};
template <class P>
struct HandBuilt<P, std::void_t<decltype(&P::template Build<NarrowTraits>)>> : std::true_type {};

// The step bound while a kind is checked: far above what the remembered
// search takes (some thousands of steps), far below the 2^40 ways of the
// loop.
constexpr long long kStepBound = 1000000;
const std::string kProbe = "(?:a|a)*";
const std::string kRun(40, 'a');

template <class T>
struct Check {
  using N = BasicNode<T>;
  using P = BasicPattern<T>;

  static bool HasSlot(const P& p, const N* n) { return p.Plan().slotOf[n->index] >= 0; }

  static std::unique_ptr<P> Compiled(const std::string& pattern) {
    std::unique_ptr<P> p(P::Compile(Text<T>(pattern)));
    EXPECT_TRUE(p) << pattern;
    return p;
  }

  // The nodes of class K among those of the pattern.
  template <class K>
  static std::vector<const N*> NodesOf(const P& p) {
    std::map<N*, bool> found;
    const_cast<N*>(p.Head())->FindAllNodes(found);
    std::vector<const N*> nodes;
    for (const auto& entry : found)
      if (typeid(*entry.first) == typeid(K)) nodes.push_back(entry.first);
    return nodes;
  }

  // The first node of class K along the chain from n.
  template <class K>
  static const K* Along(const N* n) {
    for (; n; n = n->next)
      if (const K* k = dynamic_cast<const K*>(n)) return k;
    return nullptr;
  }

  // Whether the loop and the alternation of a pattern that begins with
  // kProbe have slots, each as expected.
  static void ProbeSlots(const std::string& pattern, bool expected) {
    SCOPED_TRACE(pattern);
    std::unique_ptr<P> p = Compiled(pattern);
    if (!p) return;
    const auto* loop = Along<BasicGroupLoopNode<T>>(p->Head());
    ASSERT_TRUE(loop);
    const auto* alternation = Along<BasicOrNode<T>>(loop->inner);
    ASSERT_TRUE(alternation);
    EXPECT_EQ(HasSlot(*p, loop), expected);
    EXPECT_EQ(HasSlot(*p, alternation), expected);
  }

  template <class K, class Place>
  static void OnPatterns() {
    // The fragment holds the kind, and its nodes have slots when it is
    // remembered.
    std::unique_ptr<P> p = Compiled(Place::kFragment);
    if (!p) return;
    const std::vector<const N*> nodes = NodesOf<K>(*p);
    EXPECT_FALSE(nodes.empty()) << Place::kFragment << " holds no node of the kind";
    for (const N* n : nodes) EXPECT_EQ(HasSlot(*p, n), Place::kSide == Side::kRemembered);

    // Behind the probe: its slots, and the answer of the long search.
    const std::string pattern = kProbe + Place::kFragment + "z";
    ProbeSlots(pattern, Place::kSide != Side::kBlocks);
    {
      RegexLimits::ScopedTestLimits bound(RegexLimits::kRememberAfterSteps, kStepBound);
      std::unique_ptr<P> q = Compiled(pattern);
      if (!q) return;
      std::unique_ptr<typename P::Matcher> m(q->CreateMatcher(Text<T>(kRun + Place::kText + "z!")));
      EXPECT_FALSE(m->Matches()) << pattern;
      EXPECT_EQ(m->LimitExceeded(), Place::kSide == Side::kBlocks) << pattern;
    }

    // A back reference inside the kind's inner chain keeps the probe from
    // being remembered.
    if (Place::kInner) ProbeSlots(kProbe + Place::kInner + "z", false);
  }

  // The kind built by hand, behind an alternation a|b: the slots of both,
  // then the same with a back reference as the kind's inner chain.
  template <class Place>
  static void OnHandBuiltGraph() {
    std::unique_ptr<P> owner = Compiled("x");
    if (!owner) return;
    auto behindAlternation = [&owner](N* kind) {
      N* a = owner->RegisterNode(new BasicCharNode<T>('a'));
      N* b = owner->RegisterNode(new BasicCharNode<T>('b'));
      a->next = b->next = kind;
      return owner->RegisterNode(new BasicOrNode<T>(a, b));
    };
    N* kind = Place::template Build<T>(*owner, owner->RegisterNode(new BasicCharNode<T>('q')));
    N* alternation = behindAlternation(kind);
    N* reading =
        Place::template Build<T>(*owner, owner->RegisterNode(new BasicReferenceNode<T>(1)));
    N* blocked = behindAlternation(reading);
    // The plan is worked out on its first request, over every node
    // registered by then.
    EXPECT_EQ(HasSlot(*owner, kind), Place::kSide == Side::kRemembered);
    EXPECT_EQ(HasSlot(*owner, alternation), Place::kSide != Side::kBlocks);
    EXPECT_FALSE(HasSlot(*owner, blocked));
  }

  template <class K, class Place>
  static void Kind(const char* name) {
    SCOPED_TRACE(name);
    if constexpr (HandBuilt<Place>::value) {
      OnHandBuiltGraph<Place>();
    } else {
      OnPatterns<K, Place>();
    }
  }
};

template <class T>
class NodeKindsTest : public ::testing::Test {};
TYPED_TEST_SUITE(NodeKindsTest, BothCopies);

TYPED_TEST(NodeKindsTest, EveryKindStandsOnItsSideOfThePlan) {
#define CHECK_KIND(kind, tmpl) \
  Check<TypeParam>::template Kind<tmpl<TypeParam>, Placement<NFA##kind##Node>>(#kind);
  REGEX_NODE_NAMES(CHECK_KIND)
#undef CHECK_KIND
}

// A counted group loop depends on its iteration count, so nothing inside its
// body is remembered; an uncounted one remembers its body's alternations.
TYPED_TEST(NodeKindsTest, OnlyUncountedLoopBodiesAreRemembered) {
  using C = Check<TypeParam>;
  struct Case {
    const char* pattern;
    bool remembered;
  };
  const Case cases[] = {{"(?:(?:a|b)c)*", true},      {"(?:(?:a|b)c)+", true},
                        {"(?:(?:a|b)c)*?", true},     {"(?:(?:a|b)c)?", true},
                        {"(?:(?:a|b)c){2,3}", false}, {"(?:(?:a|b)c){2,}", false},
                        {"(?:(?:a|b)c)*+", false}};
  for (const Case& c : cases) {
    std::unique_ptr<BasicPattern<TypeParam>> p = C::Compiled(c.pattern);
    if (!p) continue;
    const auto alternations = C::template NodesOf<BasicOrNode<TypeParam>>(*p);
    ASSERT_EQ(alternations.size(), 1u) << c.pattern;
    EXPECT_EQ(C::HasSlot(*p, alternations[0]), c.remembered) << c.pattern;
  }
}

}  // namespace
