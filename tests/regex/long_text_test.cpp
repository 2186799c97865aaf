// Long texts: the program's own patterns over 1 MB lines match correctly or
// end as a no-match, and never exhaust the stack.
#include "regex_test_util.h"

namespace {

const size_t kMegabyte = 1 << 20;
const char* const kDazudu =
    "HBA=(.+),.*PCI ID=(\\w{1,4}),.*VID=(\\w{1,4}),.*SSID=(\\w{1,4}),.*SVID=(\\w{1,4}),.*Firmware=(.+),.*Boot "
    "Code=([\\w\\.]+).*";

struct LongCase {
  const char* name;
  const char* pattern;
  std::string text;
  bool matches;
  std::vector<std::string> groups;  // GetGroups(false) when it matches
};

std::vector<LongCase> LongCases() {
  const std::string filler(kMegabyte, 'x');
  const std::string words = [] {
    std::string s;
    while (s.size() < kMegabyte) s += "word 12 ab.cd: ";
    return s;
  }();
  return {
      {"version inside", ".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", filler + " 1.2.3.4 " + filler, true, {"1.2.3.4"}},
      {"version at end", ".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", words + "v10.20.30.40", true, {"0.20.30.40"}},
      {"no version", ".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", words, false, {}},
      {"instance", "HBA Instance.*: (.+).*", "HBA Instance " + filler + ": 3", true, {"3"}},
      {"instance words", "HBA Instance.*: (.+).*", "HBA Instance" + words, true, {"word 12 ab.cd: "}},
      {"instance none", "HBA Instance.*: (.+).*", "HBA Instance" + filler, false, {}},
      {"dazudu long model", kDazudu,
       "HBA=" + filler + ", PCI ID=F100, VID=10DF, SSID=F101, SVID=10DE, Firmware=2.01A12, Boot Code=5.12a1" +
           filler,
       true,
       {filler, "F100", "10DF", "F101", "10DE", "2.01A12", "5.12a1" + filler}},
      {"dazudu no fields", kDazudu, "HBA=" + filler, false, {}},
      {"dazudu no prefix", kDazudu, filler, false, {}},
  };
}

template <class T>
class LongTextTest : public ::testing::Test {};
TYPED_TEST_SUITE(LongTextTest, BothCopies);

TYPED_TEST(LongTextTest, ProgramPatternsOnMegabyteLines) {
  using P = BasicPattern<TypeParam>;
  for (const LongCase& c : LongCases()) {
    SCOPED_TRACE(c.name);
    P* p = P::Compile(Text<TypeParam>(c.pattern), P::DOT_MATCHES_ALL);
    ASSERT_NE(p, nullptr);
    auto* m = p->CreateMatcher(Text<TypeParam>(c.text));
    EXPECT_EQ(m->Matches(), c.matches);
    EXPECT_FALSE(m->LimitExceeded());
    if (c.matches) {
      EXPECT_EQ(NarrowAll<TypeParam>(m->GetGroups(false)), c.groups);
    }
    delete m;
    delete p;
  }
}

// Constructs whose every step nests (a repeated group, a long literal
// pattern) or whose backtracking grows beyond bound (nested repetitions):
// past the engine's bounds they end as a no-match.
TYPED_TEST(LongTextTest, DeepNestingEndsAsNoMatch) {
  using P = BasicPattern<TypeParam>;
  std::string ab;
  while (ab.size() < kMegabyte) ab += "ab";
  const struct {
    std::string pattern;
    std::string text;
  } cases[] = {
      {"(ab)+", ab},
      {"(?:a|b)*", ab},
      {"(a|b)*c", ab},
      {std::string(100000, 'a'), std::string(100000, 'a')},
      {"(a*)*b", std::string(65536, 'a')},
      {"(x+x+)+y", std::string(5000, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern.substr(0, 10));
    P* p = P::Compile(Text<TypeParam>(c.pattern), 0);
    ASSERT_NE(p, nullptr);
    auto* m = p->CreateMatcher(Text<TypeParam>(c.text));
    EXPECT_FALSE(m->Matches());
    EXPECT_TRUE(m->LimitExceeded());
    EXPECT_FALSE(m->FindFirstMatch());
    delete m;
    delete p;
  }
}

TYPED_TEST(LongTextTest, ShortRepeatedGroupsStillMatch) {
  using P = BasicPattern<TypeParam>;
  std::string ab;
  for (int i = 0; i < 1000; ++i) ab += "ab";
  EXPECT_TRUE(P::MatchesStatic(Text<TypeParam>("(ab)+"), Text<TypeParam>(ab), 0));
  EXPECT_TRUE(P::MatchesStatic(Text<TypeParam>("(a|b)*"), Text<TypeParam>(ab), 0));
}

TYPED_TEST(LongTextTest, AtomRepetitionsDoNotNest) {
  using P = BasicPattern<TypeParam>;
  const std::string a(kMegabyte, 'a');
  const struct {
    const char* pattern;
    bool matches;
  } cases[] = {
      {"a*", true},     {"a+?", true},  {"a*+", true},    {"[ab]*a", true}, {"\\Qaa\\E*", true},
      {".*?b", false},  {"a*b", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    P* p = P::Compile(Text<TypeParam>(c.pattern), 0);
    auto* m = p->CreateMatcher(Text<TypeParam>(a));
    EXPECT_EQ(m->Matches(), c.matches);
    delete m;
    delete p;
  }
}

}  // namespace
