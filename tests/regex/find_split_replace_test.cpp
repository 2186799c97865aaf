// Finds, FindAll, FindNthMatch, Split, Replace and group-reference expansion,
// run on the narrow and the wide copy.
#include "tests/regex/regex_test_util.h"

namespace {

constexpr unsigned long CI = 1, LIT = 2, MULTI = 8;

template <class T>
class FindTest : public ::testing::Test {};
TYPED_TEST_SUITE(FindTest, BothCopies);

struct FindCase {
  const char* pattern;
  unsigned long flags;
  const char* text;
  int start;  // -1: no match
  int end;
};

const FindCase kFindCases[] = {
    {"x?", 0, "", 0, 0},
    {"a", 0, "", -1, -1},
    {"a\\Z", 0, "a\n", 0, 1},
    {"a\\Z", 0, "a\r\n", 0, 1},
    {"a\\z", 0, "a\n", -1, -1},
    {"$", 0, "ab\n", 3, 3},
    {"$", MULTI, "ab\n", 2, 2},
    {"^b", 0, "a\nb", -1, -1},
    {"^b", MULTI, "a\nb", 2, 3},
    {"^b", MULTI, "a\rb", 2, 3},
    {"(?<=ab)c", 0, "bc", -1, -1},
    {"(?<!ab)c", 0, "bc", 1, 2},
    {"(?<=\\d)x", 0, "1xdx", 3, 4},
    {"AB", LIT | CI, "xxab", 2, 4},
    {"a*?b", 0, "aaab", 0, 4},
    {"\\Ga", 0, "ba", -1, -1},
    {"\\Ga", 0, "ab", 0, 1},
    {"\\bb", 0, "a b", 2, 3},
    {"\\Bb", 0, "ab", 1, 2},
    {"(\\w+)=(\\d+)", 0, "speed=42x", 0, 8},
    {"HBA", 0, "xxHBAxx", 2, 5},
    {"[,;]", 0, "ab;c", 2, 3},
};

// A negative look-ahead whose body matched puts the body's groups back.
TYPED_TEST(FindTest, NestedNegativeLookAheadLeavesItsGroupUnset) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(Text<TypeParam>("(?!(?!(a)))"), 0));
  ASSERT_NE(p, nullptr);
  auto m = Own(p->CreateMatcher(Text<TypeParam>("a")));
  ASSERT_TRUE(m->FindFirstMatch());
  EXPECT_EQ(m->GetEndingIndex(0), 0);
  EXPECT_EQ(m->GetStartingIndex(1), -1);
}

TYPED_TEST(FindTest, FirstMatchPositions) {
  using P = BasicPattern<TypeParam>;
  for (const FindCase& c : kFindCases) {
    SCOPED_TRACE(std::string("pattern ") + c.pattern + " text " + c.text);
    auto p = Own(P::Compile(Text<TypeParam>(c.pattern), c.flags));
    ASSERT_NE(p, nullptr);
    auto m = Own(p->CreateMatcher(Text<TypeParam>(c.text)));
    EXPECT_EQ(m->FindFirstMatch(), c.start >= 0);
    if (c.start >= 0) {
      EXPECT_EQ(m->GetStartingIndex(0), c.start);
      EXPECT_EQ(m->GetEndingIndex(0), c.end);
    }
  }
}

struct FindAllCase {
  const char* pattern;
  const char* text;
  std::vector<std::string> found;
};

const FindAllCase kFindAllCases[] = {
    {"a*", "baac", {"", "aa", ""}},
    {"a", "aaa", {"a", "a", "a"}},
    {"\\d+", "v1.22.333", {"1", "22", "333"}},
    {"x", "abc", {}},
    {"", "ab", {"", ""}},
};

TYPED_TEST(FindTest, FindAllSuccessiveMatches) {
  using P = BasicPattern<TypeParam>;
  for (const FindAllCase& c : kFindAllCases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(NarrowAll<TypeParam>(
                  P::FindAllStatic(Text<TypeParam>(c.pattern), Text<TypeParam>(c.text), 0)),
              c.found);
  }
}

TYPED_TEST(FindTest, FindNthMatch) {
  using P = BasicPattern<TypeParam>;
  const struct {
    int n;
    const char* text;
    int index;
  } cases[] = {{0, "a", 1}, {1, "a", 3}, {2, "a", 5}, {3, "", -1}, {-1, "", -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    auto r = P::FindNthMatch(Text<TypeParam>("a"), Text<TypeParam>("banana"), c.n, 0);
    EXPECT_EQ(Narrow(r.first), c.text);
    EXPECT_EQ(r.second, c.index);
  }
  ::testing::internal::CaptureStderr();
  auto bad = P::FindNthMatch(Text<TypeParam>("a)"), Text<TypeParam>("a"), 0, 0);
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(bad.second, -1);
}

TYPED_TEST(FindTest, WholeMatchThenFindStartsAtZero) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(Text<TypeParam>("(\\w+)=(\\d+)"), 0));
  auto m = Own(p->CreateMatcher(Text<TypeParam>("speed=42x")));
  EXPECT_FALSE(m->Matches());
  ASSERT_TRUE(m->FindNextMatch());
  EXPECT_EQ(m->GetStartingIndex(0), 0);
  EXPECT_EQ(Narrow(m->GetGroup(2)), "42");
}

TYPED_TEST(FindTest, ExhaustedFindStaysFalseUntilReset) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(Text<TypeParam>("a"), 0));
  auto m = Own(p->CreateMatcher(Text<TypeParam>("ab")));
  EXPECT_TRUE(m->FindNextMatch());
  EXPECT_FALSE(m->FindNextMatch());
  EXPECT_FALSE(m->FindNextMatch());
  EXPECT_FALSE(m->FindNextMatch());
  m->Reset();
  EXPECT_TRUE(m->FindNextMatch());
}

TYPED_TEST(FindTest, GroupsOutOfRangeAreEmpty) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(Text<TypeParam>("(a)?b"), 0));
  auto m = Own(p->CreateMatcher(Text<TypeParam>("b")));
  ASSERT_TRUE(m->Matches());
  EXPECT_TRUE(m->GetGroup(-1).empty());
  EXPECT_TRUE(m->GetGroup(2).empty());
  EXPECT_TRUE(m->GetGroup(1).empty());
  EXPECT_EQ(m->GetStartingIndex(-1), -1);
  EXPECT_EQ(m->GetEndingIndex(2), -1);
  EXPECT_EQ(m->GetGroups(true).size(), 2u);
}

struct ReplaceCase {
  const char* pattern;
  const char* text;
  const char* replacement;
  const char* result;
};

const ReplaceCase kReplaceCases[] = {
    {"(a)(b)", "ab", "\\2-\\1\\\\", "b-a\\"},  {"(a)(b)", "ab", "x\\", "x\\"},
    {"(a)(b)", "ab", "\\n\\9\\12", "n"},       {"x*", "abc", "-", "-a-b-c"},
    {"(\\d+)", "v1.22", "<\\1>", "v<1>.<22>"}, {"z", "abc", "-", "abc"},
};

TYPED_TEST(FindTest, Replace) {
  using P = BasicPattern<TypeParam>;
  for (const ReplaceCase& c : kReplaceCases) {
    SCOPED_TRACE(std::string(c.pattern) + " " + c.replacement);
    EXPECT_EQ(Narrow(P::ReplaceStatic(Text<TypeParam>(c.pattern), Text<TypeParam>(c.text),
                                      Text<TypeParam>(c.replacement), 0)),
              c.result);
  }
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(P::ReplaceStatic(Text<TypeParam>("("), Text<TypeParam>("a"), Text<TypeParam>("b"), 0)
                  .empty());
  ::testing::internal::GetCapturedStderr();
}

struct SplitCase {
  const char* pattern;
  const char* text;
  bool keepEmpty;
  unsigned long limit;
  std::vector<std::string> pieces;
};

const SplitCase kSplitCases[] = {
    {",", "a,b,,c", false, 0, {"a", "b", "c"}},
    {",", "a,b,,c", true, 0, {"a", "b", "", "c"}},
    {",", ",a,", true, 0, {"", "a"}},
    {",", ",a,", false, 0, {"a"}},
    {",", "a,b,c", false, 1, {"a", "b,c"}},
    {",", "a,b,c", false, 2, {"a", "b", "c"}},
    {"x*", "abc", false, 0, {"abc"}},
    {",", "", false, 0, {}},
    {"\\s+", "  one two ", false, 0, {"one", "two"}},
};

TYPED_TEST(FindTest, Split) {
  using P = BasicPattern<TypeParam>;
  for (const SplitCase& c : kSplitCases) {
    SCOPED_TRACE(std::string(c.pattern) + " " + c.text);
    EXPECT_EQ(NarrowAll<TypeParam>(P::SplitStatic(
                  Text<TypeParam>(c.pattern), Text<TypeParam>(c.text), c.keepEmpty, c.limit, 0)),
              c.pieces);
  }
}

}  // namespace
