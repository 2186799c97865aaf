// The memory of a pattern's nodes (regex/node_arena.h): what the arena hands
// out stays apart and aligned, a pattern destroys each of its nodes once,
// and under AddressSanitizer a node's memory is watched as a heap block's
// would be (a use after the pattern is gone, a read past a node's end, a
// read of room not handed out yet).
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "regex/node.h"
#include "regex/node_arena.h"
#include "regex/structure_nodes.h"
#include "tests/regex/regex_test_util.h"

#if defined(__SANITIZE_ADDRESS__)
#define ARENA_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ARENA_TEST_ASAN 1
#endif
#endif

namespace {

using RegexEngine::NodeArena;

TEST(NodeArena, AllocationsStayApartAlignedAndHeld) {
  NodeArena arena(256);
  struct Handed {
    unsigned char* at;
    std::size_t bytes;
  };
  std::vector<Handed> handed;
  const std::size_t sizes[] = {1, 3, 8, 24, 40, 100, 255, 300, 5000, 70000};
  const std::size_t alignments[] = {1, 2, 4, 8, 16};
  int k = 0;
  for (int round = 0; round < 20; ++round) {
    for (std::size_t bytes : sizes) {
      const std::size_t alignment = alignments[k++ % 5];
      auto* at = static_cast<unsigned char*>(arena.Allocate(bytes, alignment));
      ASSERT_EQ(reinterpret_cast<std::uintptr_t>(at) % alignment, 0u);
      std::memset(at, static_cast<int>(handed.size() & 0xFF), bytes);
      handed.push_back({at, bytes});
    }
  }
  for (std::size_t i = 0; i < handed.size(); ++i) {
    const Handed& p = handed[i];
    EXPECT_TRUE(arena.Holds(p.at));
    EXPECT_TRUE(arena.Holds(p.at + p.bytes - 1));
    for (std::size_t b = 0; b < p.bytes; ++b)
      ASSERT_EQ(p.at[b], static_cast<unsigned char>(i & 0xFF))
          << "allocation " << i << " byte " << b;
  }
  int onStack = 0;
  std::vector<int> onHeap(4);
  EXPECT_FALSE(arena.Holds(&onStack));
  EXPECT_FALSE(arena.Holds(onHeap.data()));
}

// A node that counts its destructions.
template <class T>
struct CountingNode : BasicSubStartNode<T> {
  static int destroyed;
  ~CountingNode() override { ++destroyed; }
};
template <class T>
int CountingNode<T>::destroyed = 0;

template <class T>
class NodeOwnershipTest : public ::testing::Test {};
TYPED_TEST_SUITE(NodeOwnershipTest, BothCopies);

// Nodes the engine makes in the arena and nodes made with new and
// registered (as the engine's own tests build graphs) are each destroyed
// exactly once with their pattern; the sanitizer build would report a node
// deleted that was never allocated, and the leak of one never deleted.
TYPED_TEST(NodeOwnershipTest, APatternDestroysEachOfItsNodesOnce) {
  using Node = CountingNode<TypeParam>;
  for (bool fromNew : {false, true}) {
    Node::destroyed = 0;
    BasicPattern<TypeParam>* p = BasicPattern<TypeParam>::Compile(Text<TypeParam>("a(b|c)*d"), 0);
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 50; ++i) {
      if (fromNew && i % 2)
        p->RegisterNode(new Node());
      else
        p->template NewNode<Node>();
    }
    ASSERT_TRUE(p->Matches(Text<TypeParam>("abcbd")));
    delete p;
    EXPECT_EQ(Node::destroyed, 50) << (fromNew ? "arena and new" : "arena only");
  }
}

#ifdef ARENA_TEST_ASAN
// The deliberate misuses below are what the sanitizer build must still
// catch with the nodes in an arena. Each runs in a child process that the
// report ends.
class NodeArenaUnderSanitizer : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(NodeArenaUnderSanitizer, ANodeUsedAfterItsPatternIsGoneIsReported) {
  EXPECT_DEATH(
      {
        Pattern* p = Pattern::Compile("a(b|c)*d", 0);
        const NFANode* node = p->Head()->next;
        delete p;
        volatile int index = node->index;
        (void)index;
      },
      "heap-use-after-free");
}

TEST_F(NodeArenaUnderSanitizer, AReadPastANodesEndIsReported) {
  EXPECT_DEATH(
      {
        Pattern* p = Pattern::Compile("ab", 0);
        const NFANode* node = p->Head()->next;  // the top level's sub-start node
        const volatile char* past =
            reinterpret_cast<const char*>(node) + sizeof(BasicSubStartNode<NarrowTraits>);
        volatile char c = *past;
        (void)c;
        delete p;
      },
      "use-after-poison");
}

TEST_F(NodeArenaUnderSanitizer, RoomNotHandedOutYetIsPoisoned) {
  EXPECT_DEATH(
      {
        NodeArena arena(4096);
        const volatile char* at = static_cast<const char*>(arena.Allocate(16, 8));
        volatile char c = at[1000];
        (void)c;
      },
      "use-after-poison");
}
#endif

}  // namespace
