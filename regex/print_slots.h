// The debug printer's operations, which only the narrow copy of the engine
// has. BasicNode and BasicPattern derive from these slots with the traits'
// kPrints flag: the narrow copy gets the operations, the wide copy an empty
// base and no trace of them.
#ifndef REGEX_PRINT_SLOTS_H
#define REGEX_PRINT_SLOTS_H

#include <map>

namespace RegexEngine {

class NodePrintWalk;

template <bool Prints>
class NodePrintSlot {};

template <>
class NodePrintSlot<true> {
 public:
  virtual ~NodePrintSlot() = default;
  // Prints this node's line or lines, indented by the nesting depth, then the
  // rest of its chain at the same depth.
  virtual void Print(unsigned int depth) const;
  // This node's own line or lines, with any inner chains one or two levels
  // deeper; true when the node's successor is printed after them.
  virtual bool PrintLines(unsigned int depth, NodePrintWalk& walk) const = 0;
};

}  // namespace RegexEngine

// Declares a node class's print lines; print_nodes.cpp defines them for the
// narrow copy, where the declaration overrides NodePrintSlot<true>. The wide
// copy only declares them, so the declaration cannot carry `override`, and
// clang's warning about the missing keyword is held back for it alone.
#ifdef __clang__
#define REGEX_PRINT_LINES                                                          \
  _Pragma("clang diagnostic push")                                                 \
      _Pragma("clang diagnostic ignored \"-Winconsistent-missing-override\"") bool \
      PrintLines(unsigned int depth, RegexEngine::NodePrintWalk& walk) const;      \
  _Pragma("clang diagnostic pop")
#else
#define REGEX_PRINT_LINES \
  bool PrintLines(unsigned int depth, RegexEngine::NodePrintWalk& walk) const;
#endif

namespace RegexEngine {

template <bool Prints>
class PatternPrintSlot {};

template <>
class PatternPrintSlot<true> {
 public:
  // Size of each of the two static text buffers below.
  static constexpr int kTextBufferSize = 1024;

  // "Pattern(<text>):" and then the node chain from the head at depth 1.
  void Print() const;

  // The text of a character class in square brackets. The result lives in a
  // static buffer that the next call overwrites. With tryComplement the
  // complement is rendered as well and the shorter text wins (the complement
  // on equal length).
  static const char* ClassText(const std::map<char, bool>& vals, bool inverted, bool tryComplement);
  // The printable text of one character, in a static buffer of its own.
  static const char* CharText(char c);

  // Pieces of ClassText. Each writes into a buffer of kTextBufferSize
  // characters from position on and advances position; what would not fit
  // is dropped.
  static void ClassRunText(const std::map<char, bool>& vals, int rangeStart, int rangeEnd,
                           bool printable, bool allowRange, char* buffer, int& position);
  static void ClassRunFlush(int runEnd, int& runStart, bool printable, bool allowRange,
                            char* buffer, int& position);
  static void ClassCharEscape(char c, char* buffer, int& position);

 protected:
  ~PatternPrintSlot() = default;
};

}  // namespace RegexEngine

#endif
