// The node kinds, each written once: the names of the node classes of the two
// copies and the type names the debug printer shows are all made from this
// list.
#ifndef REGEX_NODE_NAMES_H
#define REGEX_NODE_NAMES_H

#include <cstddef>

#include "regex/anchor_nodes.h"
#include "regex/char_nodes.h"
#include "regex/group_loop_nodes.h"
#include "regex/quantifier_nodes.h"
#include "regex/structure_nodes.h"

#define REGEX_NODE_NAMES(X)                              \
  X(Start, BasicStartNode)                               \
  X(End, BasicEndNode)                                   \
  X(SubStart, BasicSubStartNode)                         \
  X(Accept, BasicAcceptNode)                             \
  X(Char, BasicCharNode)                                 \
  X(CIChar, BasicCICharNode)                             \
  X(Class, BasicClassNode)                               \
  X(CIClass, BasicCIClassNode)                           \
  X(Quote, BasicQuoteNode)                               \
  X(CIQuote, BasicCIQuoteNode)                           \
  X(Or, BasicOrNode)                                     \
  X(LookAhead, BasicLookAheadNode)                       \
  X(LookBehind, BasicLookBehindNode)                     \
  X(StartOfLine, BasicStartOfLineNode)                   \
  X(EndOfLine, BasicEndOfLineNode)                       \
  X(StartOfInput, BasicStartOfInputNode)                 \
  X(EndOfInput, BasicEndOfInputNode)                     \
  X(WordBoundary, BasicWordBoundaryNode)                 \
  X(EndOfMatch, BasicEndOfMatchNode)                     \
  X(Reference, BasicReferenceNode)                       \
  X(GroupHead, BasicGroupHeadNode)                       \
  X(GroupTail, BasicGroupTailNode)                       \
  X(Quantifier, BasicQuantifierNode)                     \
  X(GreedyQuantifier, BasicGreedyQuantifierNode)         \
  X(LazyQuantifier, BasicLazyQuantifierNode)             \
  X(PossessiveQuantifier, BasicPossessiveQuantifierNode) \
  X(GroupLoopPrologue, BasicGroupLoopPrologueNode)       \
  X(GroupLoop, BasicGroupLoopNode)

// NFACharNode / NFACharUNode and so on.
#define REGEX_NODE_ALIAS(kind, tmpl)          \
  using NFA##kind##Node = tmpl<NarrowTraits>; \
  using NFA##kind##UNode = tmpl<WideTraits>;
REGEX_NODE_NAMES(REGEX_NODE_ALIAS)
#undef REGEX_NODE_ALIAS

namespace RegexEngine {

// The type name that starts a node's debug print line: the narrow class name
// ("NFA" + kind + "Node") preceded by its length in decimal, as in
// "11NFACharNode". Made at compile time, so no length is counted by hand.
template <std::size_t Size>  // of the class name, its NUL included
struct PrintedTypeName {
  static_assert(Size - 1 < 1000, "a class name of at most three digits of length");
  constexpr explicit PrintedTypeName(const char (&className)[Size]) {
    const std::size_t length = Size - 1;
    const std::size_t digits = length < 10 ? 1 : length < 100 ? 2 : 3;
    std::size_t rest = length;
    for (std::size_t i = digits; i > 0; --i, rest /= 10) text[i - 1] = char('0' + rest % 10);
    for (std::size_t i = 0; i < length; ++i) text[digits + i] = className[i];
  }
  char text[Size + 3] = {};
};

// The printed type name of each node class of the narrow copy (the wide copy
// prints nothing). A class outside the kind list has none.
template <class Node>
struct NodeKind;

#define REGEX_NODE_KIND(kind, tmpl)                                    \
  template <>                                                          \
  struct NodeKind<NFA##kind##Node> {                                   \
    static constexpr PrintedTypeName kPrintedName{"NFA" #kind "Node"}; \
  };
REGEX_NODE_NAMES(REGEX_NODE_KIND)
#undef REGEX_NODE_KIND

}  // namespace RegexEngine

#endif
