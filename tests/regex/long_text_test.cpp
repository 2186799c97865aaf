// Long texts: the program's own patterns over 1 MB lines, searches that a
// plain backtracker repeats from every position, and constructs that nest:
// each gives the ordinary answer, or ends at a documented bound, and never
// exhausts the stack.
#include <cstdint>
#include <memory>

#include "regex/regex_limits.h"
#include "tests/regex/regex_test_util.h"
#include "tests/support/dazudu_adapter_line.h"

namespace {

const size_t kMegabyte = 1 << 20;
const char* const kAdapterLine = test_support::kDazuduAdapterLine;

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
      {"version inside",
       ".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*",
       filler + " 1.2.3.4 " + filler,
       true,
       {"1.2.3.4"}},
      {"version at end",
       ".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*",
       words + "v10.20.30.40",
       true,
       {"0.20.30.40"}},
      {"no version", ".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", words, false, {}},
      {"instance", "HBA Instance.*: (.+).*", "HBA Instance " + filler + ": 3", true, {"3"}},
      {"instance words",
       "HBA Instance.*: (.+).*",
       "HBA Instance" + words,
       true,
       {"word 12 ab.cd: "}},
      {"instance none", "HBA Instance.*: (.+).*", "HBA Instance" + filler, false, {}},
      {"dazudu long model",
       kAdapterLine,
       "HBA=" + filler +
           ", PCI ID=F100, VID=10DF, SSID=F101, SVID=10DE, Firmware=2.01A12, Boot Code=5.12a1" +
           filler,
       true,
       {filler, "F100", "10DF", "F101", "10DE", "2.01A12", "5.12a1" + filler}},
      {"dazudu no fields", kAdapterLine, "HBA=" + filler, false, {}},
      {"dazudu no prefix", kAdapterLine, filler, false, {}},
  };
}

template <class T>
class LongTextTest : public ::testing::Test {};
TYPED_TEST_SUITE(LongTextTest, BothCopies);

TYPED_TEST(LongTextTest, ProgramPatternsOnMegabyteLines) {
  using P = BasicPattern<TypeParam>;
  for (const LongCase& c : LongCases()) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<P> p(P::Compile(Text<TypeParam>(c.pattern), P::DOT_MATCHES_ALL));
    ASSERT_NE(p, nullptr);
    std::unique_ptr<typename P::Matcher> m(p->CreateMatcher(Text<TypeParam>(c.text)));
    EXPECT_EQ(m->Matches(), c.matches);
    EXPECT_FALSE(m->LimitExceeded());
    if (c.matches) {
      EXPECT_EQ(NarrowAll<TypeParam>(m->GetGroups(false)), c.groups);
    }
  }
}

// Constructs whose every step nests (a repeated group, a long pattern of
// single characters): past the engine's nesting bound they end as a
// no-match.
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
      {"(a|b)*c", ab + "c"},
      {std::string(100000, 'a'), std::string(100000, 'a')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern.substr(0, 10));
    std::unique_ptr<P> p(P::Compile(Text<TypeParam>(c.pattern), 0));
    ASSERT_NE(p, nullptr);
    std::unique_ptr<typename P::Matcher> m(p->CreateMatcher(Text<TypeParam>(c.text)));
    EXPECT_FALSE(m->Matches());
    EXPECT_TRUE(m->LimitExceeded());
    EXPECT_FALSE(m->FindFirstMatch());
  }
}

// Long texts where a plain backtracking search repeats work from every start
// position or every count of a repetition: the answers are the ordinary ones,
// with no cut-off. Back references cannot be remembered: where a character
// that every match needs is present, such a search ends at the step bound,
// quickly.
enum class Op { kWhole, kFind, kFindAll, kSplit };

struct SearchCase {
  const char* name;
  std::string pattern;
  unsigned long flags;
  std::string text;
  Op op;
  bool matches;  // kFindAll: whether the last find matched; kSplit: whether it cut
  int group;     // the group whose position is checked
  int start;     // its start and end (-1, -1: not checked)
  int end;
  int finds;    // kFindAll: how many finds matched; kSplit: how many pieces
  bool cutOff;  // the operation ends at the step bound
};

std::string Repeat(const std::string& piece, std::size_t count) {
  std::string s;
  for (std::size_t i = 0; i < count; ++i) s += piece;
  return s;
}

// A Dazudu-style line of 20,000 field groups after the model, with or
// without a final boot code, and the position of its last "PCI ID=".
const std::string kFieldGroup = "PCI ID=1, VID=2, SSID=3, SVID=4, Firmware=5, ";
const std::string kFieldLine = "HBA=x, " + Repeat(kFieldGroup, 20000);
const int kLastPciId = static_cast<int>(kFieldLine.rfind("PCI ID="));

std::vector<SearchCase> SearchCases() {
  const int mb = static_cast<int>(kMegabyte);
  const std::string aMb(kMegabyte, 'a');
  std::string commas = "HBA=";
  while (commas.size() < kMegabyte) commas += "x,";
  return {
      {"greedy star then c", "a*c", 0, std::string(15000, 'a') + "bc", Op::kFind, true, 0, 15001,
       15002, 0, false},
      {"greedy star then c, 1 MB", "a*c", 0, aMb + "bc", Op::kFind, true, 0, mb + 1, mb + 2, 0,
       false},
      {"digits dot digits", "\\d+\\.\\d+", 0, std::string(15000, '7') + " 1.5", Op::kFind, true, 0,
       15001, 15004, 0, false},
      {"digits dot digits, four times", "\\d+\\.\\d+", 0,
       Repeat(std::string(15000, '7') + " 1.5 ", 4), Op::kFindAll, true, 0, 3 * 15005 + 15001,
       3 * 15005 + 15004, 4, false},
      {"lazy dot to a missing ;", ".*?;", 0, std::string(100000, 'x'), Op::kFind, false, 0, -1, -1,
       0, false},
      {"lazy dot to a final ;", ".*?;", 0, std::string(100000, 'x') + ";", Op::kFind, true, 0, 0,
       100001, 0, false},
      {"lazy star to a missing c", "a*?c", 0, aMb + "b", Op::kFind, false, 0, -1, -1, 0, false},
      {"lazy dot stopped by a line end", ".*?;", 0, std::string(100000, 'x') + "\n;", Op::kFind,
       true, 0, 100001, 100002, 0, false},
      {"lazy star to a late c", "a*?c", 0, aMb + "bc", Op::kFind, true, 0, mb + 1, mb + 2, 0,
       false},
      {"possessive star to a missing b", "a*+b", 0, aMb, Op::kFind, false, 0, -1, -1, 0, false},
      {"nested stars", "(a*)*b", 0, std::string(65536, 'a'), Op::kWhole, false, 0, -1, -1, 0,
       false},
      {"nested pluses", "(x+x+)+y", 0, std::string(5000, 'x'), Op::kFind, false, 0, -1, -1, 0,
       false},
      {"nested stars, b after another letter", "(a*)*b", 0, std::string(65536, 'a') + "cb",
       Op::kWhole, false, 0, -1, -1, 0, false},
      {"nested pluses, y after another letter", "(x+x+)+y", 0, std::string(5000, 'x') + "zy",
       Op::kFind, false, 0, -1, -1, 0, false},
      {"literal missing", std::string(500000, 'a') + "b", 2, aMb, Op::kFind, false, 0, -1, -1, 0,
       false},
      {"literal at the end", std::string(500000, 'a') + "b", 2, aMb + "b", Op::kFind, true, 0,
       mb - 500000, mb + 1, 0, false},
      {"case-insensitive literal", "AB" + std::string(50000, 'A'), 3,
       "x" + Repeat("ab", 30000) + std::string(50000, 'a'), Op::kFind, true, 0, 60001 - 2, 110001,
       0, false},
      {"long quote behind a greedy dot, missing", ".*\\Q" + std::string(9999, 'a') + "b\\E", 4, aMb,
       Op::kFind, false, 0, -1, -1, 0, false},
      {"long quote behind a greedy dot, at the end", ".*\\Q" + std::string(9999, 'a') + "b\\E", 4,
       aMb + "b", Op::kFind, true, 0, 0, mb + 1, 0, false},
      {"long look-behind behind a greedy dot", ".*(?<=" + std::string(5000, 'a') + ")b", 4,
       aMb + "b", Op::kFind, true, 0, 0, mb + 1, 0, false},
      {"back reference, b missing", "(a*)\\1b", 0, aMb, Op::kFind, false, 0, -1, -1, 0, false},
      // The true answer is the empty group before the final b, at 4097.
      {"back reference past the step bound", "(a*)\\1b", 0, std::string(4096, 'a') + "xb",
       Op::kFind, false, 0, -1, -1, 0, true},
      {"adapter line of commas", kAdapterLine, 4, commas, Op::kWhole, false, 0, -1, -1, 0, false},
      {"adapter line of field groups", kAdapterLine, 4, kFieldLine, Op::kWhole, false, 0, -1, -1, 0,
       false},
      {"adapter line of field groups and a boot code", kAdapterLine, 4,
       kFieldLine + "Boot Code=5.1", Op::kWhole, true, 1, 4, kLastPciId - 2, 0, false},
  };
}

template <class T>
void CheckSearch(const SearchCase& c) {
  using P = BasicPattern<T>;
  SCOPED_TRACE(c.name);
  std::unique_ptr<P> p(P::Compile(Text<T>(c.pattern), c.flags));
  ASSERT_NE(p, nullptr);
  std::unique_ptr<typename P::Matcher> m(p->CreateMatcher(Text<T>(c.text)));
  bool matched = false;
  int finds = 0;
  switch (c.op) {
    case Op::kWhole:
      matched = m->Matches();
      break;
    case Op::kFind:
      matched = m->FindFirstMatch();
      break;
    case Op::kFindAll:
      for (bool found = m->FindNextMatch(); found; found = m->FindNextMatch()) {
        ++finds;
        matched = true;
        if (finds == c.finds) break;
      }
      EXPECT_EQ(finds, c.finds);
      break;
    case Op::kSplit: {
      // With empty pieces kept; runs on the pattern's own matcher.
      const auto pieces = p->Split(Text<T>(c.text), true, 0);
      EXPECT_EQ(static_cast<int>(pieces.size()), c.finds);
      matched = pieces.size() > 1;
      break;
    }
  }
  EXPECT_EQ(matched, c.matches);
  EXPECT_EQ(m->LimitExceeded(), c.cutOff);
  if (c.matches && c.start >= 0) {
    EXPECT_EQ(m->GetStartingIndex(c.group), c.start);
    EXPECT_EQ(m->GetEndingIndex(c.group), c.end);
  }
}

TYPED_TEST(LongTextTest, RepeatedWorkGivesTheOrdinaryAnswer) {
  for (const SearchCase& c : SearchCases()) CheckSearch<TypeParam>(c);
}

// Work that no table of failures bounds: look-ahead bodies run again at every
// position, lazy iterations, counted repetitions of one atom, whole-text
// operations. Every operation ends with its true answer, or is cut off at the
// step bound (the comments give the true answer), in bounded time; a
// whole-text operation is bounded per find and runs to its end.
std::vector<SearchCase> BoundedCases() {
  std::string c40, c100;
  for (int i = 0; i < 40; ++i) c40 += "c?";
  for (int i = 0; i < 100; ++i) c100 += "c?";
  return {
      // No match: the look-ahead holds at the final b, where c does not.
      {"lazy look-ahead", "(?=B*?b)c", 0, std::string(100000, 'B') + "bc", Op::kFind, false, 0, -1,
       -1, 0, true},
      {"counted lazy repetition", "B{0,1000000}?c", 0, std::string(50000, 'B') + "xc", Op::kFind,
       true, 0, 50001, 50002, 0, false},
      // The true answer is a match at 20000.
      {"greedy look-ahead", "(?=.*x)y", 0, std::string(20000, 'a') + "yx", Op::kFind, false, 0, -1,
       -1, 0, true},
      // The true answer is a match at 200000.
      {"40 optional c then a look-ahead", c40 + "(?=.*x)y", 0, std::string(200000, 'a') + "yx",
       Op::kFind, false, 0, -1, -1, 0, true},
      // The true answer is a match at 100000.
      {"100 optional c then a look-ahead", c100 + "(?=.*x)y", 0, std::string(100000, 'a') + "yx",
       Op::kFind, false, 0, -1, -1, 0, true},
      // The true answer is the empty match at 100001.
      {"counted repetition below the run", "a{0,1000}\\z", 0, std::string(100000, 'a') + "b",
       Op::kFind, false, 0, -1, -1, 0, true},
      {"split at every dash", "\\D([^\\w_]*+ {1}+)?", 0, std::string(140920, '-') + "0 cA",
       Op::kSplit, true, 0, -1, -1, 140923, false},
      // Each find explores 2^18 ways through the counted loop before the
      // second alternative matches one a.
      {"counted loop of alternatives, every find", "(?:a|a){0,18}b|a", 0, std::string(24, 'a'),
       Op::kFindAll, true, 0, 23, 24, 24, false},
  };
}

TYPED_TEST(LongTextTest, EveryOperationEndsWithItsAnswerOrTheCutOff) {
  for (const SearchCase& c : BoundedCases()) CheckSearch<TypeParam>(c);
}

// Runs of count a, each followed by sep, until the text holds at least
// length characters, then end.
std::string Runs(std::size_t count, const std::string& sep, std::size_t length,
                 const std::string& end = "") {
  std::string text;
  const std::string run = std::string(count, 'a') + sep;
  text.reserve(length + run.size() + end.size());
  while (text.size() < length) text += run;
  return text + end;
}

// Counted repetitions of one character whose mandatory part is longer than
// the runs it meets, retried from every start position: each start that a
// failed walk has already answered costs about one test, so the search ends
// with its true answer in time linear in the text, in every form (greedy,
// lazy, possessive; a character, a class, the dot, ignoring case).
std::vector<SearchCase> MandatoryWalkCases() {
  const std::string a99999(99999, 'a');
  const std::size_t twoMb = 2 << 20;
  const std::string lastRun = Runs(1000, "c", twoMb, std::string(1000, 'a') + "b");
  return {
      {"a{100000} over 99,999 a", "a{100000}", 0, a99999, Op::kFind, false, 0, -1, -1, 0, false},
      {"lazy", "a{100000}?", 0, a99999, Op::kFind, false, 0, -1, -1, 0, false},
      {"possessive", "a{100000}+", 0, a99999, Op::kFind, false, 0, -1, -1, 0, false},
      {"class", "[ab]{100000}", 0, a99999, Op::kFind, false, 0, -1, -1, 0, false},
      {"dot", ".{100000}", 0, a99999, Op::kFind, false, 0, -1, -1, 0, false},
      {"ignoring case", "(?i)A{100000}", 0, a99999, Op::kFind, false, 0, -1, -1, 0, false},
      {".{1000000} over a line of 999,999", ".{1000000}", 0, std::string(999999, 'x'), Op::kFind,
       false, 0, -1, -1, 0, false},
      {"a{1000} over 20 MB of runs of 999", "a{1000}", 0, Runs(999, "b", 20000000), Op::kFind,
       false, 0, -1, -1, 0, false},
      {"lazy over runs", "a{1000,}?", 0, Runs(999, "b", twoMb), Op::kFind, false, 0, -1, -1, 0,
       false},
      {"possessive over runs", "a{1000,1500}+", 0, Runs(999, "b", twoMb), Op::kFind, false, 0, -1,
       -1, 0, false},
      {"class over runs", "[a-c]{1000}", 0, Runs(999, "d", twoMb), Op::kFind, false, 0, -1, -1, 0,
       false},
      {"dot over lines", ".{1000}", 0, Runs(999, "\n", twoMb), Op::kFind, false, 0, -1, -1, 0,
       false},
      {"ignoring case over runs", "(?i)A{1000}", 0, Runs(999, "b", twoMb), Op::kFind, false, 0, -1,
       -1, 0, false},
      // Every run is long enough, but only the last is followed by b.
      {"the rest fails after every run but the last", "a{1000}b", 0, lastRun, Op::kFind, true, 0,
       static_cast<int>(lastRun.size()) - 1001, static_cast<int>(lastRun.size()), 0, false},
      // The greedy dot gives back one position at a time, so the repetition
      // is reached from the end of the text backwards.
      {"reached from the end backwards", ".*a{1000}d", 0, Runs(1000, "b", 1 << 20, "!d"), Op::kFind,
       false, 0, -1, -1, 0, false},
  };
}

TYPED_TEST(LongTextTest, MandatoryWalksEndWithTheTrueAnswer) {
  for (const SearchCase& c : MandatoryWalkCases()) CheckSearch<TypeParam>(c);
}

// Every character a mandatory walk tests counts as a step, whether the walk
// succeeds or fails: with a bound of 1,000 steps, a whole-text match whose
// one walk tests 5,000 characters is cut off.
TYPED_TEST(LongTextTest, MandatoryWalksCountTheirSteps) {
  using P = BasicPattern<TypeParam>;
  const RegexLimits::ScopedTestLimits limits(RegexLimits::kNeverRemember, 1000);
  const std::string fails = std::string(4999, 'a') + "b";
  const struct {
    const char* pattern;
    std::string text;
  } cases[] = {
      {"a{5000}", std::string(5000, 'a')},  // the walk succeeds
      {"a{5000}", fails},
      {"[ac]{5000}", fails},
      {"(?i)A{5000}+", fails},
      {"\\Qab\\E{3000}", Repeat("ab", 2999) + "b"},  // an atom of two characters
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    auto p = Own(P::Compile(Text<TypeParam>(c.pattern), 0));
    auto m = Own(p->CreateMatcher(Text<TypeParam>(c.text)));
    EXPECT_FALSE(m->Matches());
    EXPECT_TRUE(m->LimitExceeded());
  }
}

// 500 groups of 100 empty alternatives: every pass of a look-ahead or an
// independent group over them saves 100,000 group positions, and inside a
// loop each iteration keeps its own while the rest of the pattern runs.
std::string ManyEmptyGroups() {
  std::string alternatives = "(?:()";
  for (int i = 1; i < 100; ++i) alternatives += "|()";
  return Repeat(alternatives + ")", 500);
}

// What one matcher holds saved is bounded: where the bound would be passed
// the find is cut off (the true answer is a match at 0); where it is not,
// the answer is the ordinary one.
TYPED_TEST(LongTextTest, SavedGroupPositionsStayWithinTheirBound) {
  using P = BasicPattern<TypeParam>;
  const std::string body = ManyEmptyGroups();
  const struct {
    std::string pattern;
    std::string text;
    bool cutOff;
  } cases[] = {
      {"(?:(?=" + body + ")a)*b", std::string(3000, 'a') + "b", true},
      {"(?:(?>" + body + ")a)*b", std::string(3000, 'a') + "b", true},
      {"(?:(?=(a))a)*b", std::string(2000, 'a') + "b", false},
      {"(?:(?>(a))|b)*c", std::string(2000, 'a') + "c", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern.substr(0, 12));
    auto p = Own(P::Compile(Text<TypeParam>(c.pattern), 0));
    ASSERT_NE(p, nullptr);
    auto m = Own(p->CreateMatcher(Text<TypeParam>(c.text)));
    EXPECT_EQ(m->FindFirstMatch(), !c.cutOff);
    EXPECT_EQ(m->LimitExceeded(), c.cutOff);
    if (!c.cutOff) {
      EXPECT_EQ(m->GetStartingIndex(0), 0);
      EXPECT_EQ(m->GetEndingIndex(0), static_cast<int>(c.text.size()));
    }
    EXPECT_LE(m->savedGroups.capacity() * sizeof(int), RegexLimits::kMaxSavedGroupBytes);
  }
}

// Wide classes of many members cost about one test per character like any
// other class: the counted repetition below the run is cut off at the step
// bound on a long text (the true answer is the empty match before the end)
// and answers on a shorter one.
std::wstring VariedAbove255(std::size_t length, std::uint32_t span) {
  std::wstring text;
  std::uint32_t x = 12345;
  for (std::size_t i = 0; i < length; ++i) {
    x = x * 1103515245u + 12345u;
    text += static_cast<wchar_t>(0x100 + (x >> 8) % span);
  }
  return text;
}

TEST(WideLongText, ClassesOfManyMembersCostOneTestPerCharacter) {
  const std::wstring toBmp = L"[\\x0100-\\xffff]{0,1000}\\z";
  const std::wstring toLast = L"[\\x0100-" + std::wstring(1, wchar_t(0x10FFFF)) + L"]{0,1000}\\z";
  std::wstring everyOther = L"[";
  for (wchar_t c = 0x100; c < 0x10000; c += 2) everyOther += c;
  everyOther += L"]{0,1000}\\z";
  std::wstring evenText = VariedAbove255(100000, 0x7F00);
  for (wchar_t& c : evenText) c = static_cast<wchar_t>(0x100 + 2 * (c - 0x100));
  const struct {
    const char* name;
    std::wstring pattern;
    std::wstring text;
    bool cutOff;
  } cases[] = {
      {"the BMP above 255", toBmp, VariedAbove255(100000, 0xFF00) + L"b", true},
      {"up to U+10FFFF", toLast, VariedAbove255(100000, 0x10FF00) + L"b", true},
      {"every other code of the BMP", everyOther, evenText + L"b", true},
      {"the BMP above 255, shorter", toBmp, VariedAbove255(10000, 0xFF00) + L"b", false},
      {"every other code, shorter", everyOther, evenText.substr(0, 10000) + L"b", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto p = Own(UPattern::Compile(c.pattern, 0));
    ASSERT_NE(p, nullptr);
    auto m = Own(p->CreateMatcher(c.text));
    EXPECT_EQ(m->FindFirstMatch(), !c.cutOff);
    EXPECT_EQ(m->LimitExceeded(), c.cutOff);
    if (!c.cutOff) {
      EXPECT_EQ(m->GetStartingIndex(0), static_cast<int>(c.text.size()));
    }
  }
}

TYPED_TEST(LongTextTest, ReplaceOverALongRunFindsTheLateMatch) {
  using P = BasicPattern<TypeParam>;
  const std::string text = std::string(15000, 'a') + "bc";
  EXPECT_EQ(Narrow(P::ReplaceStatic(Text<TypeParam>("a*c"), Text<TypeParam>(text),
                                    Text<TypeParam>("X"), 0)),
            std::string(15000, 'a') + "bX");
}

TYPED_TEST(LongTextTest, AdapterLineWithBootCodeGivesTheGreedyGroups) {
  using P = BasicPattern<TypeParam>;
  const std::string line = kFieldLine + "Boot Code=5.1";
  std::unique_ptr<P> p(P::Compile(Text<TypeParam>(kAdapterLine), P::DOT_MATCHES_ALL));
  std::unique_ptr<typename P::Matcher> m(p->CreateMatcher(Text<TypeParam>(line)));
  ASSERT_TRUE(m->Matches());
  std::vector<std::string> groups = NarrowAll<TypeParam>(m->GetGroups(false));
  const std::vector<std::string> expected = {
      line.substr(4, kLastPciId - 6), "1", "2", "3", "4", "5", "5.1"};
  EXPECT_EQ(groups, expected);
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
      {"a*", true},        {"a+?", true},   {"a*+", true},  {"[ab]*a", true},
      {"\\Qaa\\E*", true}, {".*?b", false}, {"a*b", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    std::unique_ptr<P> p(P::Compile(Text<TypeParam>(c.pattern), 0));
    ASSERT_NE(p, nullptr);
    std::unique_ptr<typename P::Matcher> m(p->CreateMatcher(Text<TypeParam>(a)));
    EXPECT_EQ(m->Matches(), c.matches);
    // A no-match must be the answer, not the nesting bound cutting it off.
    EXPECT_FALSE(m->LimitExceeded());
  }
}

}  // namespace
