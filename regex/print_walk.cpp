// The chain walk of the debug printer and the narrow node's Print.
#include "regex/print_walk.h"

#include <cstdio>
#include <vector>

#include "regex/node.h"

namespace RegexEngine {

void NodePrintWalk::Chain(const NFANode* n, unsigned int depth) {
  std::vector<const NFANode*> entered;
  while (n && onPath_.insert(n).second) {
    entered.push_back(n);
    if (!n->PrintLines(depth, *this)) break;
    n = n->next;
  }
  for (const NFANode* p : entered) onPath_.erase(p);
}

void NodePrintWalk::Indent(unsigned int depth) {
  std::printf("%*c", static_cast<int>(2 * depth), ' ');
}

void NodePrintWalk::Text(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void NodePrintSlot<true>::Print(unsigned int depth) const {
  NodePrintWalk walk;
  walk.Chain(static_cast<const NFANode*>(this), depth);
}

void PatternPrintSlot<true>::Print() const {
  const Pattern* self = static_cast<const Pattern*>(this);
  std::printf("Pattern(");
  NodePrintWalk::Text(self->GetPattern());
  std::printf("):\n");
  if (self->Head()) self->Head()->Print(1);
}

}  // namespace RegexEngine
