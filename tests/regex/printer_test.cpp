// The narrow copy's debug printer: node lines, class texts, character texts.
#include "regex_test_util.h"

namespace {

std::string Printed(const char* pattern, unsigned long flags) {
  Pattern* p = Pattern::Compile(pattern, flags);
  if (!p) return "no pattern";
  ::testing::internal::CaptureStdout();
  p->Print();
  std::fflush(stdout);
  delete p;
  return ::testing::internal::GetCapturedStdout();
}

TEST(Printer, NodeLines) {
  const struct {
    const char* pattern;
    const char* printed;
  } cases[] = {
      {"ab",
       "Pattern(ab):\n  12NFAStartNode\n  15NFASubStartNode\n  11NFACharNode(0x61)\n  11NFACharNode(0x62)\n"
       "  10NFAEndNode\n"},
      {"a*",
       "Pattern(a*):\n  12NFAStartNode\n  15NFASubStartNode\n  23NFAGreedyQuantifierNode(min=0, max=2147483647)\n"
       "    inner\n      11NFACharNode(0x61)\n      13NFAAcceptNode\n  10NFAEndNode\n"},
      {"(x){2,3}?\\b\\Z",
       "Pattern((x){2,3}?\\b\\Z):\n  12NFAStartNode\n  15NFASubStartNode\n  24NFAGroupLoopPrologueNode(gi=1)\n"
       "  16NFAGroupLoopNode(gi=1, min=2, max=3, type=reluctant)\n  19NFAWordBoundaryNode(pos=true)\n"
       "  17NFAEndOfInputNode(term=true)\n  10NFAEndNode\n"},
      {"a|b",
       "Pattern(a|b):\n  12NFAStartNode\n  9NFAOrNode\n    one\n      15NFASubStartNode\n      11NFACharNode(0x61)\n"
       "      13NFAAcceptNode\n      13NFAAcceptNode\n      10NFAEndNode\n    two\n      15NFASubStartNode\n"
       "      11NFACharNode(0x62)\n      13NFAAcceptNode\n      13NFAAcceptNode\n      10NFAEndNode\n"},
      {"(?=x)[ab].\\Qq\\E(?<!y)",
       "Pattern((?=x)[ab].\\Qq\\E(?<!y)):\n  12NFAStartNode\n  15NFASubStartNode\n  16NFALookAheadNode(pos=true)\n"
       "    15NFASubStartNode\n    11NFACharNode(0x78)\n    13NFAAcceptNode\n  12NFAClassNode(2 vals, inv=false)\n"
       "  12NFAClassNode(2 vals, inv=true)\n  12NFAQuoteNode(q)\n  17NFALookBehindNode(str=y, pos=false)\n"
       "  10NFAEndNode\n"},
      {"", "Pattern():\n  12NFAStartNode\n  15NFASubStartNode\n  10NFAEndNode\n"},
      {"a*?b*+",
       "Pattern(a*?b*+):\n  12NFAStartNode\n  15NFASubStartNode\n  21NFALazyQuantifierNode(min=0, max=2147483647)\n"
       "    inner\n      11NFACharNode(0x61)\n      13NFAAcceptNode\n"
       "  27NFAPossessiveQuantifierNode(min=0, max=2147483647)\n    inner\n      11NFACharNode(0x62)\n"
       "      13NFAAcceptNode\n  10NFAEndNode\n"},
      {"(a)*(?:b)+?(c){2,3}+",
       "Pattern((a)*(?:b)+?(c){2,3}+):\n  12NFAStartNode\n  15NFASubStartNode\n"
       "  24NFAGroupLoopPrologueNode(gi=1)\n  16NFAGroupLoopNode(gi=1, min=0, max=2147483647, type=greedy)\n"
       "  24NFAGroupLoopPrologueNode(gi=-1)\n  16NFAGroupLoopNode(gi=-1, min=1, max=2147483647, type=reluctant)\n"
       "  24NFAGroupLoopPrologueNode(gi=2)\n  16NFAGroupLoopNode(gi=2, min=2, max=3, type=possessive)\n"
       "  10NFAEndNode\n"},
      {"(?i)a[b]",
       "Pattern((?i)a[b]):\n  12NFAStartNode\n  15NFASubStartNode\n  17NFALookBehindNode(str=, pos=true)\n"
       "  13NFACICharNode(0x61)\n  10NFAEndNode\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Printed(c.pattern, 0), c.printed);
  }
}

std::map<char, bool> Members(const std::string& chars) {
  std::map<char, bool> m;
  for (char c : chars) m[c] = true;
  return m;
}

TEST(Printer, ClassText) {
  std::string notDigits;
  for (int c = 0; c < 256; ++c) {
    if (c < '0' || c > '9') notDigits += static_cast<char>(c);
  }
  const struct {
    std::string members;
    bool inverted;
    bool tryComplement;
    const char* text;
  } cases[] = {
      {"abcdefghijklmnopqrstuvwxyz", false, false, "[a-z]"},
      {"ab", false, false, "[ab]"},
      {"()", false, false, "[\\(\\)]"},
      {"0123456789", false, false, "[0-9]"},
      {"0123456789", true, false, "[^0-9]"},
      {notDigits, false, true, "[^0-9]"},
      {std::string(" \t\n", 3) + std::string(1, '\0'), false, false, "[ \\0\\t\\n]"},
      {"\x01\x02\x03\x7f", false, false, "[\\x01-\\x03\x7f]"},
      {"!#$", false, false, "[!#$]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_STREQ(Pattern::ClassText(Members(c.members), c.inverted, c.tryComplement), c.text);
  }
}

TEST(Printer, CharText) {
  const struct {
    char c;
    const char* text;
  } cases[] = {{'0', "0"}, {'\0', "\\0"}, {7, "0x07"}, {'\r', "\\r"}, {'\f', "\\p"}, {'\x80', "0x80"}};
  for (const auto& c : cases) EXPECT_STREQ(Pattern::CharText(c.c), c.text);
}

}  // namespace
