// Where the narrow copy's debug printer attaches: the node base and the
// pattern derive from these, and only the narrow specialisations carry the
// printing operations (printer.cpp). The wide copy prints nothing.
#ifndef REGEX_PRINT_SLOTS_H
#define REGEX_PRINT_SLOTS_H

#include <map>

#include "traits.h"

template <class T>
class NodePrintSlot {};

template <>
class NodePrintSlot<NarrowTraits> {
 public:
  virtual ~NodePrintSlot() = default;
  // Prints this node's line or lines, then its successor at the same depth.
  virtual void Print(unsigned int depth) const;
};

template <class T>
class PatternPrintSlot {};

template <>
class PatternPrintSlot<NarrowTraits> {
 public:
  // Prints "Pattern(<text>):" and the node chain, one line per node.
  void Print() const;

  // The text of a character class in square brackets, and of one character.
  // Both return a buffer that the next call of the same operation replaces.
  static const char* ClassText(const std::map<char, bool>& members, bool inverted, bool tryComplement);
  static const char* CharText(char c);
};

#endif
