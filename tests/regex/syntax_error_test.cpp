// The syntax-error report on standard error: the pattern line, the caret
// line, the message, and the repeated reports of enclosing levels.
#include "tests/regex/regex_test_util.h"

namespace {

const char* const kPlain = "Syntax Error near here. \n";
const char* const kMeta = "Syntax Error near here. Possible unescaped meta character.\n";

struct ErrorCase {
  const char* pattern;
  int spaces;   // before the caret
  bool meta;    // which message
  int reports;  // how many times the same report appears
};

const ErrorCase kErrorCases[] = {
    {"*a", 1, true, 1},
    {"a**", 2, true, 1},
    {"a*?+", 3, true, 1},
    {"ab)", 2, true, 1},
    {")", 1, true, 1},
    {"a]", 1, true, 1},
    {"a}", 1, true, 1},
    {"\\", 1, false, 1},
    {"(ab", 2, false, 2},
    {"((a", 2, false, 4},
    {"(?x)", 1, true, 2},
    {"(?i-m-s)", 4, false, 2},
    {"(?i", 2, false, 2},
    {"(?=a)*", 5, true, 1},
    {"(?>a)+", 5, true, 1},
    {"ab{1,x}", 1, false, 1},
    {"ab{2", 1, false, 1},
    {"a{x}", 1, false, 1},
    {"a{2}{3}", 4, false, 1},
    {"{}", 1, false, 1},
    {"{unknown}", 1, false, 1},
    {"{ab", 1, false, 1},
    {"a{2147483648}", 1, false, 1},
    {"a{1,99999999999}", 1, false, 1},
    {"[a-]", 3, true, 2},
    {"[b-a]", 3, false, 1},
    {"[a-\\d]", 4, false, 1},
    {"\\07", 1, false, 1},
    {"\\08", 1, false, 1},
    {"\\0", 1, false, 1},
    {"\\p{lower}", 1, false, 1},
    {"\\pL", 1, false, 1},
    {"\\Qab", 3, false, 1},
    {"(?<=ab", 5, false, 1},
};

template <class T>
class SyntaxErrorTest : public ::testing::Test {};
TYPED_TEST_SUITE(SyntaxErrorTest, BothCopies);

std::string Report(const ErrorCase& c) {
  std::string one = std::string(c.pattern) + "\n" + std::string(c.spaces, ' ') + "^\n" +
                    (c.meta ? kMeta : kPlain);
  std::string all;
  for (int i = 0; i < c.reports; ++i) all += one;
  return all;
}

TYPED_TEST(SyntaxErrorTest, ReportsOnStandardError) {
  using P = BasicPattern<TypeParam>;
  for (const ErrorCase& c : kErrorCases) {
    SCOPED_TRACE(c.pattern);
    ::testing::internal::CaptureStderr();
    auto p = Own(P::Compile(Text<TypeParam>(c.pattern), 0));
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(err, Report(c));
  }
}

// Errors reported twice with different carets or messages.
TYPED_TEST(SyntaxErrorTest, MixedRepeatedReports) {
  using P = BasicPattern<TypeParam>;
  const struct {
    const char* pattern;
    const char* report;
  } cases[] = {
      {"[a&&b]",
       "[a&&b]\n   ^\nSyntax Error near here. \n[a&&b]\n     ^\n"
       "Syntax Error near here. Possible unescaped meta character.\n"},
      {"[\\", "[\\\n  ^\nSyntax Error near here. \n[\\\n  ^\nSyntax Error near here. \n"},
      {"[\\Q]",
       "[\\Q]\n  ^\nSyntax Error near here. \n[\\Q]\n   ^\n"
       "Syntax Error near here. Possible unescaped meta character.\n"},
      {"(a))", "(a))\n   ^\nSyntax Error near here. Possible unescaped meta character.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    ::testing::internal::CaptureStderr();
    auto p = Own(P::Compile(Text<TypeParam>(c.pattern), 0));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.report);
    EXPECT_EQ(p, nullptr);
  }
}

TYPED_TEST(SyntaxErrorTest, FailingPatternsGiveEmptyResults) {
  using P = BasicPattern<TypeParam>;
  const auto bad = Text<TypeParam>("(a");
  const auto text = Text<TypeParam>("a");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(P::MatchesStatic(bad, text, 0));
  EXPECT_TRUE(P::FindAllStatic(bad, text, 0).empty());
  EXPECT_TRUE(P::SplitStatic(bad, text, false, 0, 0).empty());
  EXPECT_EQ(P::FindNthMatch(bad, text, 0, 0).second, -1);
  EXPECT_FALSE(P::RegisterPattern(Text<TypeParam>("bad"), bad, 0));
  ::testing::internal::GetCapturedStderr();
}

// Groups, nested bracket classes, intersections and alternatives side by
// side (each "|" opens a level for the rest) each add a nesting level.
// Past the parser's bound they are a syntax error, not a stack overflow;
// within it they compile.
TYPED_TEST(SyntaxErrorTest, DeepNestingIsAnErrorNotACrash) {
  using P = BasicPattern<TypeParam>;
  auto times = [](const char* piece, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
  };
  const int deep = 2500, shallow = 1000;
  const struct {
    std::string pattern;
    const char* matched;  // null: a syntax error
  } cases[] = {
      {times("(", deep) + "a", nullptr},
      {times("[", deep) + "a", nullptr},
      {times("[a&&", deep), nullptr},
      {times("(", shallow) + "a" + times(")", shallow), "a"},
      {times("[", shallow) + "a" + times("]", shallow), "a"},
      {"[b" + times("&&[ab", shallow) + times("]", shallow + 1), "b"},
      {"b" + times("|a", 1999), "a"},
      {"b" + times("|a", 2000), nullptr},
      {"(b" + times("|a", 1998) + ")", "a"},
      {"(b" + times("|a", 1999) + ")", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern.substr(0, 8));
    ::testing::internal::CaptureStderr();
    auto p = Own(P::Compile(Text<TypeParam>(c.pattern), 0));
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(p != nullptr, c.matched != nullptr);
    if (p) {
      EXPECT_TRUE(p->Matches(Text<TypeParam>(c.matched)));
    }
  }
}

}  // namespace
