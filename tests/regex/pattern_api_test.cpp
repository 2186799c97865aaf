// Pattern-level operations: literal mode, flags, the compiled-pattern cache,
// the named-pattern registry and matcher independence.
#include <cstdio>
#include <cstdlib>

#include "tests/regex/regex_test_util.h"

namespace {

template <class T>
class PatternApiTest : public ::testing::Test {
 protected:
  using P = BasicPattern<T>;
  void TearDown() override {
    P::UnregisterPatterns();
    P::ClearPatternCache();
  }
  static typename T::String S(const char* s) { return Text<T>(s); }
};
TYPED_TEST_SUITE(PatternApiTest, BothCopies);

TYPED_TEST(PatternApiTest, FlagValues) {
  using P = BasicPattern<TypeParam>;
  EXPECT_EQ(P::CASE_INSENSITIVE, 1ul);
  EXPECT_EQ(P::LITERAL, 2ul);
  EXPECT_EQ(P::DOT_MATCHES_ALL, 4ul);
  EXPECT_EQ(P::MULTILINE_MATCHING, 8ul);
  EXPECT_EQ(P::UNIX_LINE_MODE, 16ul);
  EXPECT_EQ(BasicMatcher<TypeParam>::MATCH_WHOLE_TEXT, 1ul);
}

TYPED_TEST(PatternApiTest, FreshMatcherReadsEmptyGroupsAtZero) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(this->S("(a)(b)"), 0));
  auto m = Own(p->CreateMatcher(this->S("ab")));
  EXPECT_EQ(m->GetStartingIndex(2), 0);
  EXPECT_EQ(m->GetEndingIndex(2), 0);
  EXPECT_TRUE(m->GetGroup(1).empty());
  EXPECT_EQ(m->GetFlags(), 0ul);
}

// Matches sets the whole-text flag and leaves it; a find clears it.
TYPED_TEST(PatternApiTest, MatchesLeavesTheWholeTextFlagSet) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(this->S("a"), 0));
  auto m = Own(p->CreateMatcher(this->S("a")));
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(m->GetFlags(), BasicMatcher<TypeParam>::MATCH_WHOLE_TEXT);
  m->SetString(this->S("b"));
  EXPECT_FALSE(m->Matches());
  EXPECT_EQ(m->GetFlags(), BasicMatcher<TypeParam>::MATCH_WHOLE_TEXT);
  ASSERT_FALSE(m->FindFirstMatch());
  EXPECT_EQ(m->GetFlags(), 0ul);
}

TYPED_TEST(PatternApiTest, LiteralPatternHasOnlyGroupZero) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(this->S("a(b"), P::LITERAL));
  ASSERT_NE(p, nullptr);
  auto m = Own(p->CreateMatcher(this->S("a(b")));
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(NarrowAll<TypeParam>(m->GetGroups(true)), std::vector<std::string>{"a(b"});
  EXPECT_TRUE(m->GetGroups(false).empty());
}

TYPED_TEST(PatternApiTest, InlineFlagsLeaveTheStoredFlags) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(this->S("(?i)a"), 0));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetFlags(), 0ul);
  EXPECT_EQ(Narrow(p->GetPattern()), "(?i)a");
  EXPECT_TRUE(p->Matches(this->S("A")));
  p.reset(P::Compile(this->S("a"), 13));
  EXPECT_EQ(p->GetFlags(), 13ul);
}

TYPED_TEST(PatternApiTest, GroupIds) {
  using P = BasicPattern<TypeParam>;
  const struct {
    const char* pattern;
    int groups;
    int nonCapturing;
  } cases[] = {
      {"", 1, 0},
      {"a(b)(?:c)(d)", 3, -1},
      {"(?=x)(?<=x)(?>x)(?i)(y)", 2, 0},
      {"(?i:a|b)(c|d)", 2, -1},
      {"abc", 1, 0},
      {"((a)(?:b(c)))", 4, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    auto p = Own(P::Compile(this->S(c.pattern), 0));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GroupCount(), c.groups);
    EXPECT_EQ(p->NonCapGroupCount(), c.nonCapturing);
  }
  auto lit = Own(P::Compile(this->S("(a)"), P::LITERAL));
  EXPECT_EQ(lit->GroupCount(), 1);
}

// Class texts keep NUL as an ordinary member.
TYPED_TEST(PatternApiTest, NulIsAClassMember) {
  using P = BasicPattern<TypeParam>;
  const auto nul = Text<TypeParam>(std::string(1, '\0'));
  const char* patterns[] = {"[\\0000ab]", "[\\0000a&&[a\\0000]]", "[^\\x01]", "\\p{Cntrl}",
                            "\\p{ASCII}"};
  for (const char* pattern : patterns) {
    SCOPED_TRACE(pattern);
    EXPECT_TRUE(P::MatchesStatic(this->S(pattern), nul, 0));
  }
  EXPECT_FALSE(P::MatchesStatic(this->S("[^\\0000]"), nul, 0));
  EXPECT_TRUE(P::MatchesStatic(this->S("a\\0000b"), Text<TypeParam>(std::string("a\0b", 3)), 0));
}

TYPED_TEST(PatternApiTest, CreatedMatcherKeepsItsOwnState) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(this->S("(\\d+)"), 0));
  auto m = Own(p->CreateMatcher(this->S("42")));
  ASSERT_TRUE(m->Matches());
  EXPECT_FALSE(p->Matches(this->S("x")));
  EXPECT_TRUE(p->Matches(this->S("7")));
  EXPECT_EQ(Narrow(m->GetGroup(1)), "42");
  EXPECT_EQ(Narrow(m->GetText()), "42");
  m->SetString(this->S("9"));
  EXPECT_TRUE(m->Matches());
  EXPECT_EQ(Narrow(m->GetGroup(1)), "9");
}

TYPED_TEST(PatternApiTest, MemberConvenienceForms) {
  using P = BasicPattern<TypeParam>;
  auto p = Own(P::Compile(this->S(","), 0));
  EXPECT_EQ(NarrowAll<TypeParam>(p->Split(this->S("a,b"), false, 0)),
            (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Narrow(p->Replace(this->S("a,b"), this->S(";"))), "a;b");
  EXPECT_EQ(p->FindAll(this->S(",,")).size(), 2u);
}

TYPED_TEST(PatternApiTest, CacheKeyIsTheTextAlone) {
  using P = BasicPattern<TypeParam>;
  P* first = P::GetCachedPattern(this->S("A"), P::CASE_INSENSITIVE);
  P* second = P::GetCachedPattern(this->S("A"), 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_TRUE(second->Matches(this->S("a")));
}

// A static object made before the cache's first use and destroyed after
// the cache would be, using a cached pattern in its destructor. The check
// runs in a fresh process, so the order of the statics is the one written.
template <class T>
struct CachedPatternUser {
  BasicPattern<T>* pattern = nullptr;
  ~CachedPatternUser() {
    std::fputs(pattern && pattern->Matches(Text<T>("abc")) ? "still matches\n" : "lost\n", stderr);
  }
};

TYPED_TEST(PatternApiTest, CachedPatternsOutliveStaticObjectsAtExit) {
  using P = BasicPattern<TypeParam>;
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        static CachedPatternUser<TypeParam> user;
        user.pattern = P::GetCachedPattern(Text<TypeParam>("a.c"), 0);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "still matches");
}

TYPED_TEST(PatternApiTest, CachedFailureReportsOnce) {
  using P = BasicPattern<TypeParam>;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(P::GetCachedPattern(this->S("(a"), 0), nullptr);
  EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(P::GetCachedPattern(this->S("(a"), 0), nullptr);
  EXPECT_TRUE(::testing::internal::GetCapturedStderr().empty());
  P::ClearPatternCache();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(P::GetCachedPattern(this->S("(a"), 0), nullptr);
  EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
}

TYPED_TEST(PatternApiTest, RegisteredPatternExpands) {
  using P = BasicPattern<TypeParam>;
  ASSERT_TRUE(P::RegisterPattern(this->S("ab"), this->S("x(y)"), 0));
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(P::RegisterPattern(this->S("ab"), this->S("("), 0));
  ::testing::internal::GetCapturedStderr();
  auto p = Own(P::Compile(this->S("{ab}(z)"), 0));
  ASSERT_NE(p, nullptr);
  auto m = Own(p->CreateMatcher(this->S("xyz")));
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(NarrowAll<TypeParam>(m->GetGroups(false)), (std::vector<std::string>{"y", "z"}));
}

TYPED_TEST(PatternApiTest, RegisteredFlagsReplaceTheCurrentOnes) {
  using P = BasicPattern<TypeParam>;
  ASSERT_TRUE(P::RegisterPattern(this->S("ci"), this->S("a"), P::CASE_INSENSITIVE));
  EXPECT_TRUE(P::MatchesStatic(this->S("{ci}b"), this->S("Ab"), 0));
  EXPECT_FALSE(P::MatchesStatic(this->S("{ci}b"), this->S("AB"), 0));
  ASSERT_TRUE(P::RegisterPattern(this->S("alt"), this->S("a|b"), 0));
  EXPECT_TRUE(P::MatchesStatic(this->S("x{alt}y"), this->S("xby"), 0));
}

// An expansion holding '|' at the end of a further alternative keeps the
// rest of the pattern on the path of each of its alternatives.
TYPED_TEST(PatternApiTest, ExpansionWithAlternationBacktracks) {
  using P = BasicPattern<TypeParam>;
  ASSERT_TRUE(P::RegisterPattern(this->S("alt"), this->S("c|a+"), 0));
  EXPECT_TRUE(P::MatchesStatic(this->S("x|{alt}a"), this->S("aa"), 0));
  EXPECT_TRUE(P::MatchesStatic(this->S("x|y{alt}"), this->S("yaa"), 0));
  EXPECT_FALSE(P::MatchesStatic(this->S("x|{alt}a"), this->S("a"), 0));
}

// A name registered with LITERAL expands to its text taken literally.
TYPED_TEST(PatternApiTest, LiteralRegistrationExpandsAsItsText) {
  using P = BasicPattern<TypeParam>;
  ASSERT_TRUE(P::RegisterPattern(this->S("lit"), this->S("a.b("), P::LITERAL));
  EXPECT_TRUE(P::MatchesStatic(this->S("x{lit}y"), this->S("xa.b(y"), 0));
  EXPECT_FALSE(P::MatchesStatic(this->S("x{lit}y"), this->S("xaxb(y"), 0));
  ASSERT_TRUE(P::RegisterPattern(this->S("ci"), this->S("A.b"), P::LITERAL | P::CASE_INSENSITIVE));
  EXPECT_TRUE(P::MatchesStatic(this->S("{ci}|z"), this->S("a.B"), 0));
}

TYPED_TEST(PatternApiTest, QuantifierAfterReferenceIsAnError) {
  using P = BasicPattern<TypeParam>;
  ASSERT_TRUE(P::RegisterPattern(this->S("ab"), this->S("x"), 0));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Own(P::Compile(this->S("{ab}*"), 0)), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "{ab}*\n    ^\nSyntax Error near here. Possible unescaped meta character.\n");
}

TYPED_TEST(PatternApiTest, SelfReferenceIsAnErrorInTheRegisteredText) {
  using P = BasicPattern<TypeParam>;
  ASSERT_TRUE(P::RegisterPattern(this->S("ab"), this->S("q"), 0));
  ASSERT_TRUE(P::RegisterPattern(this->S("cd"), this->S("y{ab}"), 0));
  ASSERT_TRUE(P::RegisterPattern(this->S("ab"), this->S("{cd}"), 0));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Own(P::Compile(this->S("{ab}"), 0)), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "y{ab}\n ^\nSyntax Error near here. \n");
}

TYPED_TEST(PatternApiTest, UnregisteredNameIsAnError) {
  using P = BasicPattern<TypeParam>;
  ASSERT_TRUE(P::RegisterPattern(this->S("ab"), this->S("x"), 0));
  P::UnregisterPatterns();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Own(P::Compile(this->S("{ab}"), 0)), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "{ab}\n ^\nSyntax Error near here. \n");
}

TEST(PatternRegistries, NarrowAndWideAreSeparate) {
  ASSERT_TRUE(Pattern::RegisterPattern("nm", "x", 0));
  ASSERT_TRUE(UPattern::RegisterPattern(L"wd", L"y", 0));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Own(UPattern::Compile(L"{nm}", 0)), nullptr);
  EXPECT_EQ(Own(Pattern::Compile("{wd}", 0)), nullptr);
  ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(Pattern::MatchesStatic("{nm}", "x", 0));
  EXPECT_TRUE(UPattern::MatchesStatic(L"{wd}", L"y", 0));
  Pattern::UnregisterPatterns();
  UPattern::UnregisterPatterns();
}

}  // namespace
