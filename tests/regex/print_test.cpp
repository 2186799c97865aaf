// The narrow copy's debug printer: node lines of compiled patterns, hand-built
// graphs, class texts and character texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "regex/regex_limits.h"
#include "regex/node_names.h"
#include "regex/pattern.h"

namespace {

// Lines written to standard output by fn.
std::vector<std::string> CapturedLines(const std::function<void()>& fn) {
  testing::internal::CaptureStdout();
  fn();
  std::fflush(stdout);
  std::istringstream in(testing::internal::GetCapturedStdout());
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The whole of a string literal, NUL bytes included.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

std::vector<std::string> PrintedLines(const std::string& text, unsigned long flags) {
  std::unique_ptr<Pattern> p(Pattern::Compile(text, flags));
  if (!p) return {"(no pattern)"};
  return CapturedLines([&] { p->Print(); });
}

// The wide copy has no printer at all.
template <class P, class = void>
struct HasPrint : std::false_type {};
template <class P>
struct HasPrint<P, std::void_t<decltype(&P::Print)>> : std::true_type {};
static_assert(HasPrint<Pattern>::value && HasPrint<NFANode>::value, "narrow copy prints");
static_assert(!HasPrint<UPattern>::value && !HasPrint<NFAUNode>::value, "wide copy has no printer");

struct PrintCase {
  const char* pattern;
  unsigned long flags;
  std::vector<std::string> lines;
};

void PrintTo(const PrintCase& c, std::ostream* os) { *os << c.pattern << " flags " << c.flags; }

class PatternPrint : public testing::TestWithParam<PrintCase> {};

TEST_P(PatternPrint, LinesMatch) {
  const PrintCase& c = GetParam();
  EXPECT_EQ(PrintedLines(c.pattern, c.flags), c.lines);
}

// Between them these cover every node class the parser builds.
const PrintCase kPrintCases[] = {
    {"ab",
     0,
     {"Pattern(ab):", "  12NFAStartNode", "  15NFASubStartNode", "  11NFACharNode(0x61)",
      "  11NFACharNode(0x62)", "  10NFAEndNode"}},
    // The rest of the pattern follows each alternative's join.
    {"a|b",
     0,
     {"Pattern(a|b):", "  12NFAStartNode", "  9NFAOrNode", "    one", "      15NFASubStartNode",
      "      11NFACharNode(0x61)", "      13NFAAcceptNode", "      13NFAAcceptNode",
      "      10NFAEndNode", "    two", "      15NFASubStartNode", "      11NFACharNode(0x62)",
      "      13NFAAcceptNode", "      13NFAAcceptNode", "      10NFAEndNode"}},
    // Three alternatives at the top level: the inner Or node's successor (the
    // outer join, then the end node) is not printed under it.
    {"x|y|z",
     0,
     {"Pattern(x|y|z):",
      "  12NFAStartNode",
      "  9NFAOrNode",
      "    one",
      "      15NFASubStartNode",
      "      11NFACharNode(0x78)",
      "      13NFAAcceptNode",
      "      13NFAAcceptNode",
      "      10NFAEndNode",
      "    two",
      "      9NFAOrNode",
      "        one",
      "          15NFASubStartNode",
      "          11NFACharNode(0x79)",
      "          13NFAAcceptNode",
      "          13NFAAcceptNode",
      "          13NFAAcceptNode",
      "        two",
      "          15NFASubStartNode",
      "          11NFACharNode(0x7A)",
      "          13NFAAcceptNode",
      "          13NFAAcceptNode",
      "          13NFAAcceptNode"}},
    // The Or node's own successor is not printed: the inner Or node's
    // successor, the enclosing join with the rest of the pattern, shows once,
    // under the first alternative.
    {"(a|b|c)d",
     0,
     {"Pattern((a|b|c)d):",
      "  12NFAStartNode",
      "  15NFASubStartNode",
      "  9NFAOrNode",
      "    one",
      "      16NFAGroupHeadNode(gi=1)",
      "      11NFACharNode(0x61)",
      "      13NFAAcceptNode",
      "      13NFAAcceptNode",
      "      16NFAGroupTailNode(gi=1)",
      "      11NFACharNode(0x64)",
      "      10NFAEndNode",
      "    two",
      "      9NFAOrNode",
      "        one",
      "          16NFAGroupHeadNode(gi=1)",
      "          11NFACharNode(0x62)",
      "          13NFAAcceptNode",
      "          13NFAAcceptNode",
      "          13NFAAcceptNode",
      "        two",
      "          16NFAGroupHeadNode(gi=1)",
      "          11NFACharNode(0x63)",
      "          13NFAAcceptNode",
      "          13NFAAcceptNode",
      "          13NFAAcceptNode"}},
    // The case-insensitive class node has a line of its own.
    {"(?i)[ab]c",
     0,
     {"Pattern((?i)[ab]c):", "  12NFAStartNode", "  15NFASubStartNode",
      "  17NFALookBehindNode(str=, pos=true)", "  14NFACIClassNode(2 vals, inv=false)",
      "  13NFACICharNode(0x63)", "  10NFAEndNode"}},
    {"[^a-z].",
     0,
     {"Pattern([^a-z].):", "  12NFAStartNode", "  15NFASubStartNode",
      "  12NFAClassNode(230 vals, inv=false)", "  12NFAClassNode(2 vals, inv=true)",
      "  10NFAEndNode"}},
    {"a.b",
     Pattern::LITERAL,
     {"Pattern(a.b):", "  12NFAStartNode", "  12NFAQuoteNode(a.b)", "  10NFAEndNode"}},
    {"Ab",
     Pattern::LITERAL | Pattern::CASE_INSENSITIVE,
     {"Pattern(Ab):", "  12NFAStartNode", "  14NFACIQuoteNode(Ab)", "  10NFAEndNode"}},
    {"\\Qa.b\\E(?i)\\Qc\\E",
     0,
     {"Pattern(\\Qa.b\\E(?i)\\Qc\\E):", "  12NFAStartNode", "  15NFASubStartNode",
      "  12NFAQuoteNode(a.b)", "  17NFALookBehindNode(str=, pos=true)", "  14NFACIQuoteNode(c)",
      "  10NFAEndNode"}},
    // Look-ahead bodies one level deeper, then the successor.
    {"(?=x)(?!y)z",
     0,
     {"Pattern((?=x)(?!y)z):", "  12NFAStartNode", "  15NFASubStartNode",
      "  16NFALookAheadNode(pos=true)", "    15NFASubStartNode", "    11NFACharNode(0x78)",
      "    13NFAAcceptNode", "  16NFALookAheadNode(pos=false)", "    15NFASubStartNode",
      "    11NFACharNode(0x79)", "    13NFAAcceptNode", "  11NFACharNode(0x7A)", "  10NFAEndNode"}},
    {"(?<=ab)(?<!cd)e",
     0,
     {"Pattern((?<=ab)(?<!cd)e):", "  12NFAStartNode", "  15NFASubStartNode",
      "  17NFALookBehindNode(str=ab, pos=true)", "  17NFALookBehindNode(str=cd, pos=false)",
      "  11NFACharNode(0x65)", "  10NFAEndNode"}},
    {"^a$",
     Pattern::MULTILINE_MATCHING,
     {"Pattern(^a$):", "  12NFAStartNode", "  15NFASubStartNode", "  18NFAStartOfLineNode",
      "  11NFACharNode(0x61)", "  16NFAEndOfLineNode", "  10NFAEndNode"}},
    {"^\\b\\B\\Z\\z\\G",
     0,
     {"Pattern(^\\b\\B\\Z\\z\\G):", "  12NFAStartNode", "  15NFASubStartNode",
      "  19NFAStartOfInputNode", "  19NFAWordBoundaryNode(pos=true)",
      "  19NFAWordBoundaryNode(pos=false)", "  17NFAEndOfInputNode(term=true)",
      "  17NFAEndOfInputNode(term=false)", "  17NFAEndOfMatchNode", "  10NFAEndNode"}},
    {"(a)(?:b)\\1",
     0,
     {"Pattern((a)(?:b)\\1):", "  12NFAStartNode", "  15NFASubStartNode",
      "  16NFAGroupHeadNode(gi=1)", "  11NFACharNode(0x61)", "  16NFAGroupTailNode(gi=1)",
      "  16NFAGroupHeadNode(gi=-1)", "  11NFACharNode(0x62)", "  16NFAGroupTailNode(gi=-1)",
      "  16NFAReferenceNode(gi=1)", "  10NFAEndNode"}},
    // inner one level deeper, its chain two levels deeper, then the successor.
    {"a*b+?c{2,3}+",
     0,
     {"Pattern(a*b+?c{2,3}+):", "  12NFAStartNode", "  15NFASubStartNode",
      "  23NFAGreedyQuantifierNode(min=0, max=2147483647)", "    inner",
      "      11NFACharNode(0x61)", "      13NFAAcceptNode",
      "  21NFALazyQuantifierNode(min=1, max=2147483647)", "    inner", "      11NFACharNode(0x62)",
      "      13NFAAcceptNode", "  27NFAPossessiveQuantifierNode(min=2, max=3)", "    inner",
      "      11NFACharNode(0x63)", "      13NFAAcceptNode", "  10NFAEndNode"}},
    // A group loop prints its bounds and kind, not the body that leads back
    // to it.
    {"(ab)*(c)+?(?:d){1,2}+",
     0,
     {"Pattern((ab)*(c)+?(?:d){1,2}+):", "  12NFAStartNode", "  15NFASubStartNode",
      "  24NFAGroupLoopPrologueNode(gi=1)",
      "  16NFAGroupLoopNode(gi=1, min=0, max=2147483647, type=greedy)",
      "  24NFAGroupLoopPrologueNode(gi=2)",
      "  16NFAGroupLoopNode(gi=2, min=1, max=2147483647, type=reluctant)",
      "  24NFAGroupLoopPrologueNode(gi=-1)",
      "  16NFAGroupLoopNode(gi=-1, min=1, max=2, type=possessive)", "  10NFAEndNode"}},
    // A byte above 0x7F shows as its unsigned code.
    {"\\xE9\\x80",
     0,
     {"Pattern(\\xE9\\x80):", "  12NFAStartNode", "  15NFASubStartNode", "  11NFACharNode(0xE9)",
      "  11NFACharNode(0x80)", "  10NFAEndNode"}},
};

INSTANTIATE_TEST_SUITE_P(Patterns, PatternPrint, testing::ValuesIn(kPrintCases));

// Nodes put together by hand, owned by the pattern that registers them.
class HandBuiltGraph : public testing::Test {
 protected:
  template <class N>
  N* Add(N* node) {
    return owner_->RegisterNode(node);
  }
  std::unique_ptr<Pattern> owner_{Pattern::Compile("x")};
};

TEST_F(HandBuiltGraph, CycleIsPrintedOnceRound) {
  NFACharNode* a = Add(new NFACharNode('a'));
  NFACharNode* b = Add(new NFACharNode('b'));
  a->next = b;
  b->next = a;
  EXPECT_EQ(CapturedLines([&] { a->Print(1); }),
            (std::vector<std::string>{"  11NFACharNode(0x61)", "  11NFACharNode(0x62)"}));
}

TEST_F(HandBuiltGraph, AlternativeLeadingBackToItsOrNodeEnds) {
  NFACharNode* a = Add(new NFACharNode('a'));
  NFAOrNode* alt = Add(new NFAOrNode(a, a));
  a->next = alt;
  EXPECT_EQ(CapturedLines([&] { alt->Print(1); }),
            (std::vector<std::string>{"  9NFAOrNode", "    one", "      11NFACharNode(0x61)",
                                      "    two", "      11NFACharNode(0x61)"}));
}

TEST_F(HandBuiltGraph, CycleThroughALookAheadEnds) {
  NFAGroupHeadNode* head = Add(new NFAGroupHeadNode(1));
  NFAGroupLoopNode* loop = Add(new NFAGroupLoopNode(head, 0, 3, 1, 7));
  NFAGroupTailNode* tail = Add(new NFAGroupTailNode(1));
  head->next = tail;
  tail->next = loop;
  NFALookAheadNode* ahead = Add(new NFALookAheadNode(loop, true));
  loop->next = ahead;
  EXPECT_EQ(CapturedLines([&] { ahead->Print(1); }),
            (std::vector<std::string>{"  16NFALookAheadNode(pos=true)",
                                      "    16NFAGroupLoopNode(gi=1, min=0, max=3, type=unknown)"}));
}

TEST_F(HandBuiltGraph, BaseQuantifierStoresNegativeMinimumAsZero) {
  NFAQuantifierNode* q = Add(new NFAQuantifierNode(owner_.get(), Add(new NFACharNode('q')), -2, 5));
  EXPECT_EQ(CapturedLines([&] { q->Print(2); }),
            (std::vector<std::string>{"    17NFAQuantifierNode(min=0, max=5)", "      inner",
                                      "        11NFACharNode(0x71)", "        13NFAAcceptNode"}));
}

// The chain is walked without a call per node, so a long pattern prints
// however long it is.
TEST(PatternPrintLong, LongChainPrintsEveryNode) {
  const int n = 300000;
  std::vector<std::string> lines = PrintedLines(std::string(n, 'a'), 0);
  ASSERT_EQ(lines.size(), static_cast<size_t>(n + 4));
  EXPECT_EQ(lines[2], "  15NFASubStartNode");
  EXPECT_EQ(lines[n + 2], "  11NFACharNode(0x61)");
  EXPECT_EQ(lines[n + 3], "  10NFAEndNode");
}

// Nesting as deep as the parser allows prints each level one step deeper.
TEST(PatternPrintLong, DeepestLookAheadNesting) {
  const int n = RegexLimits::kMaxParseDepth - 10;
  std::string text;
  for (int i = 0; i < n; ++i) text += "(?=";
  text += 'a';
  text += std::string(n, ')');
  const std::vector<std::string> lines = PrintedLines(text, 0);
  const std::string deepest = std::string(2 * (n + 1), ' ') + "11NFACharNode(0x61)";
  EXPECT_NE(std::find(lines.begin(), lines.end(), deepest), lines.end());
  EXPECT_EQ(lines.back(), "  10NFAEndNode");
}

// Texts keep every byte, NUL included.
TEST(PatternPrintText, NulBytesArePrinted) {
  const std::string text = Bytes("\\Qa\0b\\E(?<=c\0)");
  EXPECT_EQ(PrintedLines(text, 0),
            (std::vector<std::string>{"Pattern(" + text + "):", "  12NFAStartNode",
                                      "  15NFASubStartNode", Bytes("  12NFAQuoteNode(a\0b)"),
                                      Bytes("  17NFALookBehindNode(str=c\0, pos=true)"),
                                      "  10NFAEndNode"}));
}

// ---- Class texts ----

std::map<char, bool> Members(const std::string& chars) {
  std::map<char, bool> m;
  for (char c : chars) m[c] = true;
  return m;
}

std::map<char, bool> CodeRange(int first, int last) {
  std::map<char, bool> m;
  for (int c = first; c <= last; ++c) m[static_cast<char>(c)] = true;
  return m;
}

std::map<char, bool> AllBut(const std::map<char, bool>& out) {
  std::map<char, bool> m;
  for (int c = 0; c < 256; ++c)
    if (!out.count(static_cast<char>(c))) m[static_cast<char>(c)] = true;
  return m;
}

struct ClassTextCase {
  const char* name;
  std::map<char, bool> vals;
  bool inverted;
  bool tryComplement;
  std::string text;
};

void PrintTo(const ClassTextCase& c, std::ostream* os) { *os << c.name; }

class ClassText : public testing::TestWithParam<ClassTextCase> {};

TEST_P(ClassText, Renders) {
  const ClassTextCase& c = GetParam();
  EXPECT_EQ(Pattern::ClassText(c.vals, c.inverted, c.tryComplement), c.text);
}

const ClassTextCase kClassTextCases[] = {
    {"LowerRange", CodeRange('a', 'z'), false, false, "[a-z]"},
    {"TwoLetters", Members("ab"), false, false, "[ab]"},
    {"Parentheses", Members("()"), false, false, "[\\(\\)]"},
    {"EscapedMembers", Members("-[\\]"), false, false, "[\\-\\[\\\\\\]]"},
    {"PunctuationNeverRanges", Members("!\"#$"), false, false, "[!\"#$]"},
    {"ThreeDigitsRange", Members("123"), false, false, "[1-3]"},
    {"Digits", CodeRange('0', '9'), false, false, "[0-9]"},
    {"Inverted", Members("ab"), true, false, "[^ab]"},
    {"Empty", {}, false, false, "[]"},
    {"SpecialsInOrder", Members(Bytes("\f\n\r\t\0 ")), false, false, "[ \\0\\t\\r\\n\\p]"},
    {"ControlsOneToEight", CodeRange(1, 8), false, false, "[\\x01-\\x08]"},
    {"VerticalTab", CodeRange(11, 11), false, false, "[\\x0B]"},
    {"ControlsFourteenOn", CodeRange(14, 31), false, false, "[\\x0E-\\x1F]"},
    {"HighBytes", CodeRange(128, 255), false, false, "[\\x80-\\xFF]"},
    {"TwoControls", CodeRange(1, 2), false, false, "[\\x01\\x02]"},
    {"HexBeforePrintable", Members("a\x7F\x81\x01"), false, false, "[\\x01\\x81a\x7F]"},
    {"MapEntryFalseIsNoMember", {{'a', true}, {'b', false}}, false, false, "[a]"},
    {"DigitsKeptOverComplement", CodeRange('0', '9'), false, true, "[0-9]"},
    {"AllButDigitsComplemented", AllBut(CodeRange('0', '9')), false, true, "[^0-9]"},
    {"InvertedComplementTurnsBack", AllBut(Members("a")), true, true, "[a]"},
    {"EverythingComplemented", CodeRange(0, 255), false, true, "[^]"},
    // Both renderings have the same length here; the complement wins.
    {"EqualLengthTakesComplement", CodeRange(17, 96), false, true,
     "[^\\0\\t\\r\\n\\p\\x01-\\x08\\x0B\\x0E-\\x10\\x80-\\xFFa-z{|}~\x7F]"},
};

INSTANTIATE_TEST_SUITE_P(Sets, ClassText, testing::ValuesIn(kClassTextCases),
                         [](const testing::TestParamInfo<ClassTextCase>& info) {
                           return info.param.name;
                         });

TEST(ClassTextEqualLength, DirectTextIsAsLongAsTheComplement) {
  const std::string direct = Pattern::ClassText(CodeRange(17, 96), false, false);
  EXPECT_EQ(direct, "[ \\x11-\\x1F!\"#$%&'\\(\\)*+,\\-./0-9:;<=>?@A-Z\\[\\\\\\]^_`]");
  EXPECT_EQ(direct.size(), std::string(Pattern::ClassText(CodeRange(17, 96), false, true)).size());
}

// One run written by ClassRunFlush, by its length and mode.
struct RunCase {
  int start;
  int end;
  bool printable;
  bool allowRange;
  std::string text;
};

void PrintTo(const RunCase& c, std::ostream* os) {
  *os << "run " << c.start << ".." << c.end << (c.printable ? " printable" : " hex")
      << (c.allowRange ? " ranges" : "");
}

class ClassRunFlush : public testing::TestWithParam<RunCase> {};

TEST_P(ClassRunFlush, WritesRunAndClosesIt) {
  const RunCase& c = GetParam();
  char buffer[Pattern::kTextBufferSize];
  int position = 0;
  int runStart = c.start;
  Pattern::ClassRunFlush(c.end, runStart, c.printable, c.allowRange, buffer, position);
  EXPECT_EQ(std::string(buffer, position), c.text);
  EXPECT_EQ(runStart, -1);
}

const RunCase kRunCases[] = {
    {'a', 'b', false, true, "\\x61"},
    {'a', 'b', true, true, "a"},
    {'(', '*', false, false, "\\x28\\x29"},
    {'(', '*', true, false, "\\(\\)"},
    {'a', 'e', false, true, "\\x61-\\x64"},
    {'[', '^', true, true, "\\[-\\]"},
    {'a', 'e', false, false, "abcd"},
    {'[', '^', true, false, "\\[\\\\\\]"},
    {-1, 'z', true, true, ""},
};

INSTANTIATE_TEST_SUITE_P(Runs, ClassRunFlush, testing::ValuesIn(kRunCases));

TEST(ClassRunText, RunsEndAtNonMembersAndAtTheRangeEnd) {
  char buffer[Pattern::kTextBufferSize];
  int position = 0;
  Pattern::ClassRunText(Members("abcxyz"), 'a', 'y', true, true, buffer, position);
  EXPECT_EQ(std::string(buffer, position), "a-cx");
}

TEST(ClassTextBuffer, WritesStopShortOfTheBufferEnd) {
  char buffer[Pattern::kTextBufferSize + 1];
  buffer[Pattern::kTextBufferSize - 1] = '#';
  buffer[Pattern::kTextBufferSize] = '#';
  int position = Pattern::kTextBufferSize - 1;
  Pattern::ClassCharEscape('(', buffer, position);
  int runStart = 1;
  Pattern::ClassRunFlush(200, runStart, false, false, buffer, position);
  EXPECT_EQ(position, Pattern::kTextBufferSize - 1);
  EXPECT_EQ(buffer[Pattern::kTextBufferSize - 1], '#');
  EXPECT_EQ(buffer[Pattern::kTextBufferSize], '#');
}

// ---- Character texts ----

struct CharCase {
  int code;
  const char* text;
};

void PrintTo(const CharCase& c, std::ostream* os) { *os << "code " << c.code; }

class CharText : public testing::TestWithParam<CharCase> {};

TEST_P(CharText, Renders) {
  EXPECT_STREQ(Pattern::CharText(static_cast<char>(GetParam().code)), GetParam().text);
}

const CharCase kCharCases[] = {
    {'0', "0"},     {0, "\\0"},     {'\r', "\\r"},  {'\t', "\\t"},  {'\n', "\\n"}, {'\f', "\\p"},
    {7, "0x07"},    {11, "0x0B"},   {31, "0x1F"},   {' ', " "},     {'A', "A"},    {'~', "~"},
    {0x7F, "\x7F"}, {0x80, "0x80"}, {0xE9, "0xE9"}, {0xFF, "0xFF"},
};

INSTANTIATE_TEST_SUITE_P(Chars, CharText, testing::ValuesIn(kCharCases));

}  // namespace
