// The names of the node classes of the two copies.
#ifndef REGEX_NODE_NAMES_H
#define REGEX_NODE_NAMES_H

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

#endif
