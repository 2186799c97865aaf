// Whole-text matches and their groups, run on the narrow and the wide copy.
#include "tests/regex/regex_test_util.h"
#include "tests/support/dazudu_adapter_line.h"

namespace {

using test_support::kDazuduAdapterLine;

constexpr unsigned long CI = 1, LIT = 2, DOTALL = 4, MULTI = 8, UNIX = 16;

struct MatchCase {
  const char* pattern;
  unsigned long flags;
  const char* text;
  bool matches;
  // Expected GetGroups(false) after a match; not checked when empty.
  std::vector<std::string> groups;
};

const MatchCase kMatchCases[] = {
    // Compile and whole-text basics.
    {"", 0, "", true, {}},
    {"", 0, "a", false, {}},
    {"\\d+", 0, "123", true, {}},
    {"\\d+", 0, "", false, {}},
    {"\\d+", 0, "12a", false, {}},
    {"\\d+", 0, " 1", false, {}},
    {"a.b", LIT, "a.b", true, {}},
    {"a.b", LIT, "axb", false, {}},
    {"(", LIT, "(", true, {}},
    {"a.B", LIT | CI, "A.b", true, {}},
    {"(\\w+)=(\\d+)", 0, "speed=42", true, {"speed", "42"}},
    {"(\\w+)=(\\d+)", 0, "speed=42x", false, {}},
    {"(a)?b", 0, "b", true, {""}},
    {"a*", 0, "", true, {}},
    // Group arrays of up to eight group ids (held in the matcher) and of more.
    {"(a)(b)(c)(d)(e)(f)(g)", 0, "abcdefg", true, {"a", "b", "c", "d", "e", "f", "g"}},
    {"(a)(b)(c)(d)(e)(f)(g)(h)", 0, "abcdefgh", true, {"a", "b", "c", "d", "e", "f", "g", "h"}},
    {"(?:(a)(?:b))*(c)(d)(e)(f)(g)", 0, "ababcdefg", true, {"a", "c", "d", "e", "f", "g"}},
    {"(?:(a)(?:b))*(c)(d)(e)(f)(g)", 0, "abcdefgx", false, {}},
    // Alternation.
    {"(a|ab)c", 0, "abc", true, {"ab"}},
    {"(a|b|c)d", 0, "bd", true, {"b"}},
    {"a|b", 0, "b", true, {}},
    {"(a|b)c", 0, "bc", true, {"b"}},
    {"x|y|z", 0, "z", true, {}},
    {"a|(b)", 0, "b", true, {"b"}},
    {"|a", 0, "", true, {}},
    {"|a", 0, "a", true, {}},
    {"a|", 0, "", true, {}},
    {"(a|b)*c", 0, "abbac", true, {"a"}},
    // The rest of the pattern backtracks into an inner alternation: b|c of
    // a|b|c, and a group holding '|' that ends a further alternative.
    {"(?:b|a+|c)a", 0, "aa", true, {}},
    {"(?:x|y+|z){2}", 0, "yy", true, {}},
    {"||\\.+?", 0, "..", true, {}},
    {"x|(?:b|a+?)", 0, "aa", true, {}},
    {"(?:x|(?:y|z+))z", 0, "zz", true, {}},
    {"(a|bc|b)+c", 0, "abc", true, {"b"}},
    {"(?>a|b|ab)c", 0, "abc", false, {}},
    // Anchors and line modes.
    {"a$\\n^b", MULTI, "a\nb", true, {}},
    {"a$\\n^b", 0, "a\nb", false, {}},
    {"a\\n^", MULTI, "a\n", true, {}},
    {"^a$", 0, "a", true, {}},
    {"\\Aa\\z", 0, "a", true, {}},
    {"a\\Z", 0, "a\n", false, {}},
    {"a \\b", 0, "a ", true, {}},
    {"a\\b1", 0, "a1", true, {}},
    {"\\ba", 0, "a", true, {}},
    {"a\\bb", 0, "ab", false, {}},
    {"a\\Bb", 0, "ab", true, {}},
    {"a\\B ", 0, "a ", false, {}},
    {"a\\B", 0, "a", true, {}},
    // Back references.
    {"(x)?\\1y", 0, "y", true, {""}},
    {"(ab)\\1", 0, "abab", true, {"ab"}},
    {"(ab)\\1", 0, "aba", false, {}},
    {"(x)?\\1*y", 0, "y", true, {""}},
    {"(a)\\10", 0, "a", true, {"a"}},
    {"(a)\\10", 0, "a0", false, {}},
    {"\\3", 0, "", true, {}},
    // Look-around.
    {"(?=a)a", 0, "a", true, {}},
    {"(?!a).", 0, "a", false, {}},
    {"(?!a).", 0, "b", true, {}},
    {"ab(?<=ab)c", 0, "abc", true, {}},
    {"ab(?<!ab)c", 0, "abc", false, {}},
    {"(?=(a))x|ab", 0, "ab", true, {""}},
    {"(?<=a.b)c", 0, "c", false, {}},
    // Case folding.
    {"(?i)a", 0, "A", true, {}},
    {"a", CI, "A", true, {}},
    {"[a]", CI, "A", true, {}},
    {"\\y", CI, "y", true, {}},
    {"\\y", CI, "Y", false, {}},
    {"(?i)ab(?-i)c", 0, "ABc", true, {}},
    {"(?i)ab(?-i)c", 0, "ABC", false, {}},
    {"(?i:a)b", 0, "Ab", true, {}},
    {"(?i:a)b", 0, "AB", false, {}},
    {"(a(?i)b)c", 0, "aBc", true, {"aB"}},
    {"(a(?i)b)c", 0, "aBC", false, {}},
    {"(?i)a|b", 0, "B", true, {}},
    {"a(?i)|b", 0, "B", true, {}},
    {"(?i)\xC9", 0, "\xE9", false, {}},
    {"(?i)\xC9", 0, "\xC9", true, {}},
    {"\\x41", CI, "a", false, {}},
    {"\\QaB\\E", CI, "Ab", true, {}},
    {"[^a]", CI, "A", false, {}},
    {"[^a]", CI, "a", false, {}},
    {"[^a]", CI, "b", true, {}},
    // Groups and ids.
    {"a(b)(?:c)(d)", 0, "abcd", true, {"b", "d"}},
    {"(?=y)(y)", 0, "y", true, {"y"}},
    {"(?s:.)(?d).", 0, "\n\r", true, {}},
    // Bounds.
    {"a{2}", 0, "aa", true, {}},
    {"a{2}", 0, "aaa", false, {}},
    {"a{2,}", 0, "aaaa", true, {}},
    {"a{2,}", 0, "a", false, {}},
    {"a{,2}", 0, "aa", true, {}},
    {"a{,2}", 0, "aaa", false, {}},
    {"a{,}", 0, "", true, {}},
    {"a{,}", 0, "aaaa", true, {}},
    {"a{}", 0, "", true, {}},
    {"a{}", 0, "a", false, {}},
    {"a{0,2147483647}", 0, "aaa", true, {}},
    {"a{2,3}", 0, "a", false, {}},
    {"a{2,3}", 0, "aa", true, {}},
    {"a{2,3}", 0, "aaa", true, {}},
    {"a{2,3}", 0, "aaaa", false, {}},
    {"x?", 0, "", true, {}},
    // Dot and line modes.
    {".", 0, "\n", false, {}},
    {".", 0, "\r", false, {}},
    {".", UNIX, "\r", true, {}},
    {".", UNIX, "\n", false, {}},
    {".", DOTALL, "\n", true, {}},
    {".", DOTALL | UNIX, "\n", true, {}},
    {".", DOTALL | UNIX, "\r", true, {}},
    // Escapes.
    {"\\e", 0, "\r", true, {}},
    {"\\r", 0, "\r", true, {}},
    {"\\e", 0, "\x1b", false, {}},
    {"\\t\\n\\f\\a", 0, "\t\n\f\a", true, {}},
    {"\\x41", 0, "A", true, {}},
    {"\\xG1", 0, " G1", true, {}},
    {"a\\x4", 0, "a 4", true, {}},
    {"\\0101", 0, "A", true, {}},
    {"\\077", 0, "?", true, {}},
    {"\\0477", 0, "'7", true, {}},
    {"\\Qa.b\\E", 0, "a.b", true, {}},
    {"\\Qa.b\\E", 0, "axb", false, {}},
    {"\\Qa\\Eb", 0, "ab", true, {}},
    {"\\Q\\\\\\E", 0, "\\", true, {}},
    {"\\Q\\.\\E", 0, ".", true, {}},
    {"\\Q\\E", 0, "", true, {}},
    {"\\.\\\\\\E", 0, ".\\E", true, {}},
    {"\\s", 0, "\v", false, {}},
    {"\\S\\W\\D", 0, "a.x", true, {}},
    // Bracket classes.
    {"[]", 0, "a", false, {}},
    {"[]", 0, "", false, {}},
    {"[^]", 0, "a", true, {}},
    {"[a-\\x7a]", 0, "m", true, {}},
    {"[\\x41-Z]", 0, "M", true, {}},
    {"[\\x41-Z]", 0, "a", false, {}},
    {"[\\w\\.]+", 0, "a_9.", true, {}},
    {"[\\d-z]+", 0, "1-z", true, {}},
    {"[\\d-z]", 0, "y", false, {}},
    {"[abc&&[b]d]+", 0, "bd", true, {}},
    {"[abc&&[b]d]", 0, "a", false, {}},
    {"[a-z&&[^aeiou]]", 0, "b", true, {}},
    {"[a-z&&[^aeiou]]", 0, "e", false, {}},
    {"[-a]+", 0, "-a", true, {}},
    {"[a-c-e]+", 0, "b-e", true, {}},
    {"[a-c-e]", 0, "d", false, {}},
    {"[-]", 0, "-", true, {}},
    {"[a^]", 0, "^", true, {}},
    {"[a&]", 0, "&", true, {}},
    {"[\\]\\[]+", 0, "][", true, {}},
    {"[^\\d]", 0, "5", false, {}},
    {"[\\D]", 0, "x", true, {}},
    {"[\\x80-\\xFF]", 0, "\xC0", true, {}},
    {"[\\x80-\\xFF]", 0, "\x7F", false, {}},
    {"[a-\\xFF]", 0, "\xFF", true, {}},
    {"[a-\\xFF]", 0, "`", false, {}},
    // Named classes.
    {"\\p{Print}", 0, " ", false, {}},
    {"\\p{Print}", 0, "~", true, {}},
    {"\\p{Space}", 0, "\v", true, {}},
    {"\\p{XDigit}+", 0, "0aF", true, {}},
    {"\\p{XDigit}", 0, "g", false, {}},
    {"\\p{Cntrl}", 0, "\x7F", true, {}},
    {"\\p{Cntrl}", 0, "\x1F", true, {}},
    {"\\p{Punct}+", 0, "!/:@[`{~", true, {}},
    {"\\p{Punct}", 0, "a", false, {}},
    {"\\p{Lower}\\p{Upper}\\p{Alpha}\\p{Digit}\\p{Alnum}", 0, "aBc1z", true, {}},
    {"\\p{Blank}+", 0, " \t", true, {}},
    {"\\p{ASCII}", 0, "\x7F", true, {}},
    {"\\p{ASCII}", 0, "\x80", false, {}},
    {"\\P{Digit}", 0, "a", true, {}},
    {"\\P{Digit}", 0, "1", false, {}},
    {"[\\P{Digit}]", 0, "1", false, {}},
    // Quantifiers.
    {"a*a", 0, "aaa", true, {}},
    {"a*+a", 0, "aaa", false, {}},
    {"a*?a", 0, "aaa", true, {}},
    {"a+?", 0, "aaa", true, {}},
    {"(a?){3}", 0, "", true, {""}},
    {"(ab)+", 0, "ababab", true, {"ab"}},
    {"(ab){2}", 0, "ab", false, {}},
    {"(ab){2}", 0, "abab", true, {"ab"}},
    {"(ab)+?b", 0, "abab", false, {}},
    {"(ab)+?", 0, "abab", true, {"ab"}},
    {"(?>a*)a", 0, "aaa", false, {}},
    {"(?>ab)c", 0, "abc", true, {}},
    {"(a){0,2}+a", 0, "aa", true, {"a"}},
    {"(a)*+a", 0, "aa", false, {}},
    {"(?:ab)*c", 0, "ababc", true, {}},
    {"((a)|b)+", 0, "ab", true, {"b", "a"}},
    {"\\Qab\\E*", 0, "ababab", true, {}},
    {"\\Qab\\E{2}", 0, "abab", true, {}},
    {"(a)\\1*", 0, "aaaa", true, {"a"}},
    {"a{3,2}", 0, "aaa", true, {}},
    // The program's own patterns.
    {".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", DOTALL, "Version: 3.0.3.0 build 12", true, {"3.0.3.0"}},
    {".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", DOTALL, "12.0.3.0", true, {"2.0.3.0"}},
    {".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", DOTALL, "3.0.3", false, {}},
    {"(\\d+\\.\\d+\\.\\d+).*", DOTALL, "2.6.32-5-amd64", true, {"2.6.32"}},
    {"HBA Instance.*: (.+).*", DOTALL, "HBA Instance: 2", true, {"2"}},
    {"Port Name.*: (.+).*", DOTALL, "Port Name : 21-00-00: x\r", true, {"x\r"}},
    {kDazuduAdapterLine,
     DOTALL,
     "HBA=DZe12000, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=2.01A12, Boot "
     "Code=5.12a1 extra",
     true,
     {"DZe12000", "F100", "10DF", "F100", "10DF", "2.01A12", "5.12a1"}},
    {kDazuduAdapterLine,
     DOTALL,
     "HBA=DZe12000, PCI ID=F10000, VID=10DF, SSID=F100, SVID=10DF, Firmware=2, Boot Code=5",
     false,
     {}},
    {"Red Hat Enterprise Linux.*release 5.*",
     DOTALL | MULTI,
     "Red Hat Enterprise Linux Server release 5.8 (Tikanga)\nKernel \\r on an \\m\n",
     true,
     {}},
    {"Red Hat Enterprise Linux.*release 4.*",
     DOTALL | MULTI,
     "Red Hat Enterprise Linux Server release 5.8",
     false,
     {}},
    {"SUSE Linux Enterprise Server.*11.*",
     DOTALL | MULTI,
     "SUSE Linux Enterprise Server 11 (x86_64)\nVERSION = 11\nPATCHLEVEL = 1\n",
     true,
     {}},
};

template <class T>
class MatchTableTest : public ::testing::Test {};
TYPED_TEST_SUITE(MatchTableTest, BothCopies);

TYPED_TEST(MatchTableTest, WholeTextMatchesAndGroups) {
  using P = BasicPattern<TypeParam>;
  for (const MatchCase& c : kMatchCases) {
    SCOPED_TRACE(std::string("pattern ") + c.pattern + " text " + c.text);
    auto p = Own(P::Compile(Text<TypeParam>(c.pattern), c.flags));
    ASSERT_NE(p, nullptr);
    auto m = Own(p->CreateMatcher(Text<TypeParam>(c.text)));
    EXPECT_EQ(m->Matches(), c.matches);
    if (c.matches && !c.groups.empty()) {
      EXPECT_EQ(NarrowAll<TypeParam>(m->GetGroups(false)), c.groups);
    }
    EXPECT_EQ(P::MatchesStatic(Text<TypeParam>(c.pattern), Text<TypeParam>(c.text), c.flags),
              c.matches);
  }
}

struct IndexCase {
  const char* pattern;
  const char* text;
  int group;
  int start;
  int end;
};

// Group positions after a whole-text match.
const IndexCase kIndexCases[] = {
    {"(ab)+", "ababab", 1, 4, 6},
    {"(a){0,2}+a", "aa", 1, 0, 1},
    {"(a)?b", "b", 1, -1, -1},
    {"a(b)(?:c)(d)", "abcd", 2, 3, 4},
    {"(x)?\\1y", "y", 0, 0, 1},
    // Groups of a failed path are unset again: an inner alternative that the
    // rest rejected, a negative look-ahead, an independent group whose rest
    // failed.
    {"(?:b|(a)|c)d|a", "a", 1, -1, -1},
    {"(?:|()|[^a-c])[\\\\\\s]", " \\", 1, -1, -1},
    {"(?!(a))a|a", "a", 1, -1, -1},
    {"(?!())|", "", 1, -1, -1},
    {"\\S*?(?!()\\Q.\\E)", ".", 1, -1, -1},
    {"(?>(a))b|a", "a", 1, -1, -1},
    {"(?>(a)|b)c|ab", "ab", 1, -1, -1},
    {"(?=(a))(?!(a)b)a", "a", 1, 0, 1},
    {"(?=(a))(?!(a)b)a", "a", 2, -1, -1},
};

TYPED_TEST(MatchTableTest, GroupIndices) {
  using P = BasicPattern<TypeParam>;
  for (const IndexCase& c : kIndexCases) {
    SCOPED_TRACE(c.pattern);
    auto p = Own(P::Compile(Text<TypeParam>(c.pattern), 0));
    ASSERT_NE(p, nullptr);
    auto m = Own(p->CreateMatcher(Text<TypeParam>(c.text)));
    ASSERT_TRUE(m->Matches());
    EXPECT_EQ(m->GetStartingIndex(c.group), c.start);
    EXPECT_EQ(m->GetEndingIndex(c.group), c.end);
  }
}

}  // namespace
