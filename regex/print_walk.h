// The walk behind the debug printer: prints a node chain one line per node
// and keeps track of the nodes on the path being printed.
//
// The graph shares nodes (the join after an alternation is reached from each
// alternative, and so printed under each) and holds cycles (a quantified
// group leads back to its loop node). A node that is reached again while it
// is still on the path being printed ends that chain, so a cycle is printed
// once round and the walk always ends.
#ifndef REGEX_PRINT_WALK_H
#define REGEX_PRINT_WALK_H

#include <string>
#include <unordered_set>

#include "regex/pattern.h"

namespace RegexEngine {

class NodePrintWalk {
 public:
  // Prints the chain from n at depth: each node's lines, then its successor,
  // until a node without one, a node that does not print its successor, or
  // a node already on the path.
  void Chain(const NFANode* n, unsigned int depth);

  // The indentation of a line: 2 x depth spaces, written as "%*c".
  static void Indent(unsigned int depth);
  // Writes every byte of the text, NUL included.
  static void Text(const std::string& text);
  static const char* Bool(bool b) { return b ? "true" : "false"; }

 private:
  std::unordered_set<const NFANode*> onPath_;
};

}  // namespace RegexEngine

#endif
