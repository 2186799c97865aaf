// Debug printer of the narrow copy: one line per node on standard output,
// indented by nesting depth, and readable texts of classes and characters.
#include <cstdio>
#include <cstring>
#include <string>

#include "node_names.h"

namespace {

const char* Bool(bool b) { return b ? "true" : "false"; }

// The unsigned code of a character: bytes 0x80 to 0xFF print as two hex
// digits, not sign-extended.
unsigned int Code(char c) { return static_cast<unsigned char>(c); }

void Indent(unsigned int depth) { std::printf("%*c", static_cast<int>(2 * depth), ' '); }

// Prints one node's own line or lines; returns whether its successor follows.
bool PrintOwnLines(const NFANode* n, unsigned int depth) {
  auto line = [depth](const char* name) {
    Indent(depth);
    std::printf("%s\n", name);
  };
  if (auto* x = dynamic_cast<const NFAGroupLoopNode*>(n)) {
    static const char* const kTypes[] = {"greedy", "reluctant", "possessive"};
    const char* type = (x->type >= 0 && x->type <= 2) ? kTypes[x->type] : "unknown";
    Indent(depth);
    std::printf("%s(gi=%d, min=%d, max=%d, type=%s)\n", "16NFAGroupLoopNode", x->gi, x->min, x->max, type);
  } else if (auto* x = dynamic_cast<const NFAGroupLoopPrologueNode*>(n)) {
    Indent(depth);
    std::printf("%s(gi=%d)\n", "24NFAGroupLoopPrologueNode", x->gi);
  } else if (auto* x = dynamic_cast<const NFAGroupHeadNode*>(n)) {
    Indent(depth);
    std::printf("%s(gi=%d)\n", "16NFAGroupHeadNode", x->gi);
  } else if (auto* x = dynamic_cast<const NFAGroupTailNode*>(n)) {
    Indent(depth);
    std::printf("%s(gi=%d)\n", "16NFAGroupTailNode", x->gi);
  } else if (auto* x = dynamic_cast<const NFAReferenceNode*>(n)) {
    Indent(depth);
    std::printf("%s(gi=%d)\n", "16NFAReferenceNode", x->gi);
  } else if (auto* x = dynamic_cast<const NFAWordBoundaryNode*>(n)) {
    Indent(depth);
    std::printf("%s(pos=%s)\n", "19NFAWordBoundaryNode", Bool(x->pos));
  } else if (auto* x = dynamic_cast<const NFAEndOfInputNode*>(n)) {
    Indent(depth);
    std::printf("%s(term=%s)\n", "17NFAEndOfInputNode", Bool(x->term));
  } else if (auto* x = dynamic_cast<const NFALookBehindNode*>(n)) {
    Indent(depth);
    std::printf("%s(str=%s, pos=%s)\n", "17NFALookBehindNode", x->str.c_str(), Bool(x->pos));
  } else if (auto* x = dynamic_cast<const NFALookAheadNode*>(n)) {
    Indent(depth);
    std::printf("%s(pos=%s)\n", "16NFALookAheadNode", Bool(x->pos));
    if (x->inner) x->inner->Print(depth + 1);
  } else if (auto* x = dynamic_cast<const NFAQuoteNode*>(n)) {
    Indent(depth);
    std::printf("%s(%s)\n", "12NFAQuoteNode", x->str.c_str());
  } else if (auto* x = dynamic_cast<const NFACIQuoteNode*>(n)) {
    Indent(depth);
    std::printf("%s(%s)\n", "14NFACIQuoteNode", x->str.c_str());
  } else if (auto* x = dynamic_cast<const NFAOrNode*>(n)) {
    line("9NFAOrNode");
    Indent(depth + 1);
    std::printf("one\n");
    if (x->one) x->one->Print(depth + 2);
    Indent(depth + 1);
    std::printf("two\n");
    if (x->two) x->two->Print(depth + 2);
    return false;
  } else if (auto* x = dynamic_cast<const NFAClassNode*>(n)) {
    Indent(depth);
    std::printf("%s(%d vals, inv=%s)\n", "12NFAClassNode", x->vals.Size(), Bool(x->inv));
  } else if (dynamic_cast<const NFACIClassNode*>(n)) {
    // Prints nothing of its own.
  } else if (auto* x = dynamic_cast<const NFAQuantifierNode*>(n)) {
    const char* name = dynamic_cast<const NFAGreedyQuantifierNode*>(n)       ? "23NFAGreedyQuantifierNode"
                       : dynamic_cast<const NFALazyQuantifierNode*>(n)       ? "21NFALazyQuantifierNode"
                       : dynamic_cast<const NFAPossessiveQuantifierNode*>(n) ? "27NFAPossessiveQuantifierNode"
                                                                             : "17NFAQuantifierNode";
    Indent(depth);
    std::printf("%s(min=%d, max=%d)\n", name, x->min, x->max);
    Indent(depth + 1);
    std::printf("inner\n");
    if (x->inner) x->inner->Print(depth + 2);
  } else if (auto* x = dynamic_cast<const NFACharNode*>(n)) {
    Indent(depth);
    std::printf("%s(0x%02X)\n", "11NFACharNode", Code(x->ch));
  } else if (auto* x = dynamic_cast<const NFACICharNode*>(n)) {
    Indent(depth);
    std::printf("%s(0x%02X)\n", "13NFACICharNode", Code(x->ch));
  } else if (dynamic_cast<const NFAStartNode*>(n)) {
    line("12NFAStartNode");
  } else if (dynamic_cast<const NFAEndNode*>(n)) {
    line("10NFAEndNode");
  } else if (dynamic_cast<const NFASubStartNode*>(n)) {
    line("15NFASubStartNode");
  } else if (dynamic_cast<const NFAAcceptNode*>(n)) {
    line("13NFAAcceptNode");
  } else if (dynamic_cast<const NFAStartOfInputNode*>(n)) {
    line("19NFAStartOfInputNode");
  } else if (dynamic_cast<const NFAStartOfLineNode*>(n)) {
    line("18NFAStartOfLineNode");
  } else if (dynamic_cast<const NFAEndOfLineNode*>(n)) {
    line("16NFAEndOfLineNode");
  } else if (dynamic_cast<const NFAEndOfMatchNode*>(n)) {
    line("17NFAEndOfMatchNode");
  }
  return true;
}

// Writes c, with a backslash before the characters that are special inside
// brackets.
void ClassCharEscape(char c, std::string& out) {
  if (std::strchr("()-[\\]", c) && c != '\0') out += '\\';
  out += c;
}

void Hex(unsigned int code, std::string& out) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\x%02X", code & 0xFFu);
  out += buf;
}

// Writes the open run of members [runStart, runEnd) and closes it.
void ClassRunFlush(int runEnd, int& runStart, bool printable, bool allowRange, std::string& out) {
  if (runStart == -1) return;
  const int length = runEnd - runStart;
  auto one = [&](int code) {
    if (printable)
      ClassCharEscape(static_cast<char>(code), out);
    else
      Hex(static_cast<unsigned int>(code), out);
  };
  if (length <= 2 || !allowRange) {
    for (int c = runStart; c < runEnd; ++c) {
      if (length <= 2 || printable)
        one(c);
      else
        ClassCharEscape(static_cast<char>(c), out);
    }
  } else {
    one(runStart);
    out += '-';
    one(runEnd - 1);
  }
  runStart = -1;
}

// Walks the codes [start, end), writing runs of members.
void ClassRunText(const bool* in, int start, int end, bool printable, bool allowRange, std::string& out) {
  int runStart = -1;
  for (int c = start; c < end; ++c) {
    if (in[c]) {
      if (runStart == -1) runStart = c;
    } else {
      ClassRunFlush(c, runStart, printable, allowRange, out);
    }
  }
  ClassRunFlush(end, runStart, printable, allowRange, out);
}

std::string RenderClass(const bool* in, bool inverted) {
  std::string out = inverted ? "[^" : "[";
  const struct {
    int code;
    const char* text;
  } specials[] = {{' ', " "}, {0, "\\0"}, {'\t', "\\t"}, {'\r', "\\r"}, {'\n', "\\n"}, {'\f', "\\p"}};
  for (const auto& s : specials) {
    if (in[s.code]) out += s.text;
  }
  const int hexRanges[][2] = {{1, 9}, {11, 12}, {14, 32}, {128, 256}};
  for (const auto& r : hexRanges) ClassRunText(in, r[0], r[1], false, true, out);
  const struct {
    int start, end;
    bool allowRange;
  } printable[] = {{33, 48, false}, {48, 58, true},  {58, 65, false},  {65, 91, true},
                   {91, 97, false}, {97, 123, true}, {123, 128, false}};
  for (const auto& r : printable) ClassRunText(in, r.start, r.end, true, r.allowRange, out);
  out += ']';
  return out;
}

}  // namespace

void NodePrintSlot<NarrowTraits>::Print(unsigned int depth) const {
  // The successor chain is walked in a loop, so long chains do not nest.
  for (const NFANode* n = dynamic_cast<const NFANode*>(this); n; n = n->next) {
    if (!PrintOwnLines(n, depth)) break;
  }
}

void PatternPrintSlot<NarrowTraits>::Print() const {
  const Pattern* p = static_cast<const Pattern*>(this);
  std::printf("Pattern(%s):\n", p->GetPattern().c_str());
  if (p->Head()) p->Head()->Print(1);
}

const char* PatternPrintSlot<NarrowTraits>::ClassText(const std::map<char, bool>& members, bool inverted,
                                                      bool tryComplement) {
  static std::string buffer;
  bool in[256] = {};
  for (const auto& m : members) in[Code(m.first)] = m.second;
  buffer = RenderClass(in, inverted);
  if (tryComplement) {
    bool out[256];
    for (int c = 0; c < 256; ++c) out[c] = !in[c];
    std::string complement = RenderClass(out, !inverted);
    if (complement.size() <= buffer.size()) buffer = complement;
  }
  return buffer.c_str();
}

const char* PatternPrintSlot<NarrowTraits>::CharText(char c) {
  static char buffer[16];
  switch (c) {
    case '\0': return "\\0";
    case '\r': return "\\r";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\f': return "\\p";
    default: break;
  }
  if (Code(c) < 32 || Code(c) >= 0x80)
    std::snprintf(buffer, sizeof buffer, "0x%02X", Code(c));
  else
    std::snprintf(buffer, sizeof buffer, "%c", c);
  return buffer;
}
