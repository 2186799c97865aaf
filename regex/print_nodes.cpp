// The debug print lines of every node class of the narrow copy. The type
// name that starts each line is the class name preceded by its length, made
// from the kind list (node_names.h).
#include <cstdio>

#include "regex/node_names.h"
#include "regex/print_walk.h"

using RegexEngine::NodePrintWalk;

namespace {

int Width(unsigned int depth) { return static_cast<int>(2 * depth); }

// The printed type name of a node's class.
template <class Node>
const char* TypeName(const Node&) {
  return RegexEngine::NodeKind<Node>::kPrintedName.text;
}

bool NameLine(unsigned int depth, const char* name) {
  std::printf("%*c%s\n", Width(depth), ' ', name);
  return true;
}

bool GroupIdLine(unsigned int depth, const char* name, int gi) {
  std::printf("%*c%s(gi=%d)\n", Width(depth), ' ', name, gi);
  return true;
}

// The name, then the literal text in parentheses; prefix opens the fields.
void TextLine(unsigned int depth, const char* name, const char* prefix, const std::string& text,
              const char* suffix) {
  std::printf("%*c%s(%s", Width(depth), ' ', name, prefix);
  NodePrintWalk::Text(text);
  std::printf("%s)\n", suffix);
}

// A quantifier's bounds, then its inner chain two levels deeper.
bool QuantifierLines(unsigned int depth, const char* name, int min, int max, const NFANode* inner,
                     NodePrintWalk& walk) {
  std::printf("%*c%s(min=%d, max=%d)\n", Width(depth), ' ', name, min, max);
  std::printf("%*cinner\n", Width(depth + 1), ' ');
  if (inner) walk.Chain(inner, depth + 2);
  return true;
}

const char* LoopTypeWord(int type) {
  static const char* const kWords[] = {"greedy", "reluctant", "possessive"};
  return (type >= 0 && type < 3) ? kWords[type] : "unknown";
}

}  // namespace

// The classes whose line is their name alone.
#define REGEX_NAME_LINE(tmpl)                                          \
  template <class T>                                                   \
  bool tmpl<T>::PrintLines(unsigned int depth, NodePrintWalk&) const { \
    return NameLine(depth, TypeName(*this));                           \
  }
REGEX_NAME_LINE(BasicStartNode)
REGEX_NAME_LINE(BasicEndNode)
REGEX_NAME_LINE(BasicSubStartNode)
REGEX_NAME_LINE(BasicAcceptNode)
REGEX_NAME_LINE(BasicStartOfLineNode)
REGEX_NAME_LINE(BasicEndOfLineNode)
REGEX_NAME_LINE(BasicStartOfInputNode)
REGEX_NAME_LINE(BasicEndOfMatchNode)
#undef REGEX_NAME_LINE

// A character by its unsigned code, so that a byte above 0x7F shows as two
// hexadecimal digits.
template <class T, bool CI>
bool BasicCharNodeT<T, CI>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  std::printf("%*c%s(0x%02X)\n", Width(depth), ' ', TypeName(*this),
              static_cast<unsigned>(T::Code(ch)));
  return true;
}

template <class T, bool CI>
bool BasicClassNodeT<T, CI>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  std::printf("%*c%s(%d vals, inv=%s)\n", Width(depth), ' ', TypeName(*this), vals.Size(),
              NodePrintWalk::Bool(inv));
  return true;
}

template <class T, bool CI>
bool BasicQuoteNodeT<T, CI>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  TextLine(depth, TypeName(*this), "", str, "");
  return true;
}

// The alternatives under "one" and "two", and nothing after them: the Or
// node's own successor is not printed. The rest of the pattern follows the
// join that ends the first alternative; an Or node that is the second
// alternative of an enclosing one has that enclosing join as its successor,
// which is printed once, under the enclosing node's first alternative.
template <class T>
bool BasicOrNode<T>::PrintLines(unsigned int depth, NodePrintWalk& walk) const {
  NameLine(depth, TypeName(*this));
  std::printf("%*cone\n", Width(depth + 1), ' ');
  walk.Chain(one, depth + 2);
  std::printf("%*ctwo\n", Width(depth + 1), ' ');
  walk.Chain(two, depth + 2);
  return false;
}

template <class T>
bool BasicLookAheadNode<T>::PrintLines(unsigned int depth, NodePrintWalk& walk) const {
  std::printf("%*c%s(pos=%s)\n", Width(depth), ' ', TypeName(*this), NodePrintWalk::Bool(pos));
  walk.Chain(inner, depth + 1);
  return true;
}

template <class T>
bool BasicLookBehindNode<T>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  TextLine(depth, TypeName(*this), "str=", str, pos ? ", pos=true" : ", pos=false");
  return true;
}

template <class T>
bool BasicEndOfInputNode<T>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  std::printf("%*c%s(term=%s)\n", Width(depth), ' ', TypeName(*this), NodePrintWalk::Bool(term));
  return true;
}

template <class T>
bool BasicWordBoundaryNode<T>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  std::printf("%*c%s(pos=%s)\n", Width(depth), ' ', TypeName(*this), NodePrintWalk::Bool(pos));
  return true;
}

template <class T>
bool BasicReferenceNode<T>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  return GroupIdLine(depth, TypeName(*this), gi);
}

template <class T, bool Head>
bool BasicGroupEdgeNode<T, Head>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  return GroupIdLine(depth, TypeName(*this), gi);
}

template <class T>
bool BasicGroupLoopPrologueNode<T>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  return GroupIdLine(depth, TypeName(*this), gi);
}

// The loop's inner chain is not printed: it is the group's body, which
// leads back to the loop node.
template <class T>
bool BasicGroupLoopNode<T>::PrintLines(unsigned int depth, NodePrintWalk&) const {
  std::printf("%*c%s(gi=%d, min=%d, max=%d, type=%s)\n", Width(depth), ' ', TypeName(*this), gi,
              min, max, LoopTypeWord(type));
  return true;
}

// The quantifier and its three kinds share one layout.
#define REGEX_QUANTIFIER_LINES(tmpl)                                                         \
  template <class T>                                                                         \
  bool tmpl<T>::PrintLines(unsigned int depth, NodePrintWalk& walk) const {                  \
    return QuantifierLines(depth, TypeName(*this), this->min, this->max, this->inner, walk); \
  }
REGEX_QUANTIFIER_LINES(BasicQuantifierNode)
REGEX_QUANTIFIER_LINES(BasicGreedyQuantifierNode)
REGEX_QUANTIFIER_LINES(BasicLazyQuantifierNode)
REGEX_QUANTIFIER_LINES(BasicPossessiveQuantifierNode)
#undef REGEX_QUANTIFIER_LINES

// Only the narrow copy prints.
#define REGEX_PRINT_INSTANCE(kind, tmpl) \
  template bool NFA##kind##Node::PrintLines(unsigned int, NodePrintWalk&) const;
REGEX_NODE_NAMES(REGEX_PRINT_INSTANCE)
#undef REGEX_PRINT_INSTANCE
