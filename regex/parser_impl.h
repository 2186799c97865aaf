// The recursive-descent parser: one call of Parse per level (the whole
// pattern, a group, an alternative, a "{name}" expansion), quantifiers,
// bounds, and the syntax-error report.
#ifndef REGEX_PARSER_IMPL_H
#define REGEX_PARSER_IMPL_H

#include <algorithm>
#include <string>

#include "regex/anchor_nodes.h"
#include "regex/char_nodes.h"
#include "regex/escapes_impl.h"
#include "regex/group_loop_nodes.h"
#include "regex/regex_limits.h"
#include "regex/pattern.h"
#include "regex/quantifier_nodes.h"
#include "regex/structure_nodes.h"

namespace RegexParse {
// Group kinds of a level.
enum Kind { kCapturing, kNonCapturing, kLookAhead, kNegLookAhead, kIndependent };
// What the group start of a level produced.
enum Start { kBody, kDone, kFailed };
}  // namespace RegexParse

template <class T>
void BasicPattern<T>::RaiseError() {
  const int len = static_cast<int>(patternText.size());
  const int at = parsePos - 1;
  const Char c = (at >= 0 && at < len) ? patternText[at] : Char(0);
  T::WriteText(stderr, patternText);
  std::string caret(static_cast<size_t>(std::max(at, 1)), ' ');
  caret = "\n" + caret + "^\n";
  std::fputs(caret.c_str(), stderr);
  const bool meta = c == '?' || c == ')' || c == '*' || c == '+' || c == ']' || c == '}';
  std::fputs(meta ? "Syntax Error near here. Possible unescaped meta character.\n"
                  : "Syntax Error near here. \n",
             stderr);
  hasError = true;
}

template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::MakeClassNode(const String& members,
                                                               bool inverted) {
  if (flags & CASE_INSENSITIVE) return NewNode<BasicCIClassNode<T>>(members, inverted);
  return NewNode<BasicClassNode<T>>(members, inverted);
}

// The dot: every character but the line ends it excludes.
template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::MakeDotNode() {
  const RegexEngine::LowSet& excluded = (flags & DOT_MATCHES_ALL)  ? RegexText::kEmptySet
                                        : (flags & UNIX_LINE_MODE) ? RegexText::kNewLineSet
                                                                   : RegexText::kLineEndSet;
  return NewNode<BasicClassNode<T>>(excluded, true);
}

template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::Parse(bool inParens, bool inOr, Node** end,
                                                       int orGroupId, bool orGroupHead) {
  using namespace RegexParse;
  RegexLimits::DepthGuard guard(parseDepth);

  const int len = static_cast<int>(patternText.size());
  int id = groupCount++;
  const unsigned long savedFlags = flags;
  int kind = kCapturing;
  Node* head = nullptr;

  if (parseDepth > RegexLimits::kMaxParseDepth) {
    RaiseError();
    return nullptr;
  }
  if (!inParens) {
    head = NewNode<BasicSubStartNode<T>>();
    if (inOr) --groupCount;
  } else if (inOr) {
    --groupCount;
    id = orGroupId;
    head = orGroupHead ? static_cast<Node*>(NewNode<BasicGroupHeadNode<T>>(id))
                       : static_cast<Node*>(NewNode<BasicSubStartNode<T>>());
  } else if (parsePos < len && patternText[parsePos] == '?') {
    ++parsePos;
    --groupCount;
    Node* done = ParseGroupStart(end, head, kind, id);
    if (done || !head) return done;
  } else {
    head = NewNode<BasicGroupHeadNode<T>>(id);
  }

  Node* tail = head;
  auto append = [&tail](Node* n) {
    tail->next = n;
    tail = n;
  };

  while (parsePos < len) {
    const Char c = patternText[parsePos++];
    if (hasError) return nullptr;
    Node* atom = nullptr;
    switch (c) {
      case '$':
        atom = (flags & MULTILINE_MATCHING)
                   ? static_cast<Node*>(NewNode<BasicEndOfLineNode<T>>())
                   : static_cast<Node*>(NewNode<BasicEndOfInputNode<T>>(false));
        break;
      case '^':
        atom = (flags & MULTILINE_MATCHING)
                   ? static_cast<Node*>(NewNode<BasicStartOfLineNode<T>>())
                   : static_cast<Node*>(NewNode<BasicStartOfInputNode<T>>());
        break;
      case '(': {
        Node* groupEnd = nullptr;
        Node* group = Parse(true, false, &groupEnd, 0, false);
        if (!group || !groupEnd) {
          RaiseError();
        } else {
          tail->next = group;
          tail = groupEnd;
        }
        break;
      }
      case ')': {
        if (!inParens) {
          RaiseError();
          break;
        }
        if (inOr) {
          --parsePos;
          append(NewNode<BasicAcceptNode<T>>());
          if (end) *end = tail;
          flags = savedFlags;
          return head;
        }
        Node* result = head;
        if (kind == kLookAhead || kind == kNegLookAhead) {
          append(NewNode<BasicAcceptNode<T>>());
          result = NewNode<BasicLookAheadNode<T>>(head, kind == kLookAhead);
          if (end) *end = result;
        } else if (kind == kIndependent) {
          append(NewNode<BasicAcceptNode<T>>());
          result = NewNode<BasicPossessiveQuantifierNode<T>>(this, head, 1, 1);
          if (end) *end = result;
        } else {
          Node* groupTail = NewNode<BasicGroupTailNode<T>>(id);
          append(groupTail);
          if (end) *end = groupTail;
          if (Node* prologue = QuantifyGroup(head, groupTail, id)) {
            result = prologue;
            if (end) *end = prologue->next;
          }
        }
        flags = savedFlags;
        return result;
      }
      case '*':
      case '+':
      case '?':
      case ']':
      case '}':
        RaiseError();
        break;
      case '.':
        atom = MakeDotNode();
        break;
      case '[': {
        String members = ParseClass();
        atom = MakeClassNode(members, false);
        break;
      }
      case '\\':
        if (parsePos >= len) {
          RaiseError();
        } else {
          atom = ParseAtomEscape();
        }
        break;
      case '{': {
        // A "{name}" expansion is not an atom: a quantifier after it is read
        // as an atom of its own and so is a syntax error.
        Node* expansionEnd = nullptr;
        Node* expansion = ParseRegisteredPattern(&expansionEnd);
        if (expansion && expansionEnd) {
          tail->next = expansion;
          tail = expansionEnd;
        }
        break;
      }
      case '|': {
        append(NewNode<BasicAcceptNode<T>>());
        Node* twoEnd = nullptr;
        Node* two = Parse(inParens, true, &twoEnd, id, head->IsGroupHeadNode());
        if (!two || !twoEnd) return nullptr;
        Node* one = head;
        head = NewNode<BasicOrNode<T>>(one, two);
        Node* join = NewNode<BasicAcceptNode<T>>();
        tail->next = join;
        JoinAlternative(two, twoEnd, join);
        tail = join;
        break;
      }
      default:
        atom = (flags & CASE_INSENSITIVE) ? static_cast<Node*>(NewNode<BasicCICharNode<T>>(c))
                                          : static_cast<Node*>(NewNode<BasicCharNode<T>>(c));
        break;
    }
    if (atom) append(Quantify(atom));
  }

  if (inParens) RaiseError();
  if (!inParens && inOr) append(NewNode<BasicAcceptNode<T>>());
  if (end) *end = tail;
  flags = savedFlags;
  return hasError ? nullptr : head;
}

// Links alternative two (from its head to its own last node, an Accept node)
// to the join. The walk along the successors stops at the first node
// without one; when that is an Or node inside the alternative (a further
// '|', or a group or expansion holding '|'), the Or node gets the join as
// its successor and the alternative's own last node resumes at the join
// too, so that the rest of the pattern stays on the path of every inner
// alternative and backtracks into it.
template <class T>
void BasicPattern<T>::JoinAlternative(Node* two, Node* twoEnd, Node* join) {
  Node* last = two;
  while (last->next) last = last->next;
  last->next = join;
  if (last == twoEnd) return;
  auto* inner = dynamic_cast<BasicOrNode<T>*>(last);
  auto* accept = dynamic_cast<BasicAcceptNode<T>*>(twoEnd);
  if (inner && accept) {
    inner->joinedInside = true;
    accept->resume = join;
  }
}

// After "(?": reads the group kind. Returns the finished node of a level that
// is complete at once (look-behind, inline setting), null with head set when
// a body follows, and null with head null after an error.
template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::ParseGroupStart(Node** end, Node*& head, int& kind,
                                                                 int& id) {
  using namespace RegexParse;
  const int len = static_cast<int>(patternText.size());
  const Char c = parsePos < len ? patternText[parsePos] : Char(0);
  const Char d = parsePos + 1 < len ? patternText[parsePos + 1] : Char(0);
  if (parsePos < len && c == ':') {
    ++parsePos;
    kind = kNonCapturing;
    id = --nonCapGroupCount;
    head = NewNode<BasicGroupHeadNode<T>>(id);
  } else if (parsePos < len && (c == '=' || c == '!' || c == '>')) {
    ++parsePos;
    kind = c == '=' ? kLookAhead : c == '!' ? kNegLookAhead : kIndependent;
    head = NewNode<BasicSubStartNode<T>>();
  } else if (parsePos + 1 < len && c == '<' && (d == '=' || d == '!')) {
    parsePos += 2;
    Node* behind = ParseBehind(d == '=', end);
    head = behind;
    return behind;
  } else {
    return ParseInlineFlags(end, head, kind, id);
  }
  return nullptr;
}

// "(?imsd-imsd)" changes the flags for the rest of the enclosing level;
// "(?imsd-imsd:" opens a non-capturing group with the changed flags.
template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::ParseInlineFlags(Node** end, Node*& head,
                                                                  int& kind, int& id) {
  const int len = static_cast<int>(patternText.size());
  bool clear = false;
  for (;;) {
    if (parsePos >= len) {
      RaiseError();
      head = nullptr;
      return nullptr;
    }
    const Char c = patternText[parsePos];
    unsigned long bit = 0;
    switch (c) {
      case 'i':
        bit = CASE_INSENSITIVE;
        break;
      case 'm':
        bit = MULTILINE_MATCHING;
        break;
      case 's':
        bit = DOT_MATCHES_ALL;
        break;
      case 'd':
        bit = UNIX_LINE_MODE;
        break;
      case '-':
        if (clear) {
          RaiseError();
          head = nullptr;
          return nullptr;
        }
        clear = true;
        ++parsePos;
        continue;
      case ':':
        ++parsePos;
        kind = RegexParse::kNonCapturing;
        id = --nonCapGroupCount;
        head = NewNode<BasicGroupHeadNode<T>>(id);
        return nullptr;
      case ')': {
        ++parsePos;
        Node* setting = NewNode<BasicLookBehindNode<T>>(String(), true);
        if (end) *end = setting;
        head = setting;
        return setting;
      }
      default:
        RaiseError();
        head = nullptr;
        return nullptr;
    }
    if (clear)
      flags &= ~bit;
    else
      flags |= bit;
    ++parsePos;
  }
}

// A backslash in atom position; the character after it is inside the text.
template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::ParseAtomEscape() {
  const Char c = patternText[parsePos];
  if (c >= '1' && c <= '9') return ParseBackref();
  switch (c) {
    case 'A':
      ++parsePos;
      return NewNode<BasicStartOfInputNode<T>>();
    case 'b':
    case 'B':
      ++parsePos;
      return NewNode<BasicWordBoundaryNode<T>>(c == 'b');
    case 'G':
      ++parsePos;
      return NewNode<BasicEndOfMatchNode<T>>();
    case 'Z':
    case 'z':
      ++parsePos;
      return NewNode<BasicEndOfInputNode<T>>(c == 'Z');
    default:
      break;
  }
  bool inverted = false;
  bool quote = false;
  // "\d", "\s", "\w" and their inverses take their prebuilt set; under
  // CASE_INSENSITIVE the class lowers the members of the text instead.
  const RegexEngine::LowSet* shorthand = RegexText::ShorthandSet(c, inverted);
  if (shorthand && !(flags & CASE_INSENSITIVE)) {
    ++parsePos;
    return NewNode<BasicClassNode<T>>(*shorthand, inverted);
  }
  String text = ParseEscape(inverted, quote);
  if (quote) return ParseQuote();
  if (text.size() == 1 && !inverted) return NewNode<BasicCharNode<T>>(text[0]);
  return MakeClassNode(text, inverted);
}

// Reads "*", "+", "?" or a bound at parsePos; false when none stands there.
template <class T>
bool BasicPattern<T>::ReadQuantifier(int& min, int& max) {
  const int len = static_cast<int>(patternText.size());
  if (parsePos >= len) return false;
  switch (patternText[parsePos]) {
    case '*':
      min = 0;
      max = RegexLimits::kNoUpperBound;
      break;
    case '+':
      min = 1;
      max = RegexLimits::kNoUpperBound;
      break;
    case '?':
      min = 0;
      max = 1;
      break;
    case '{':
      return ParseBounds(min, max);
    default:
      return false;
  }
  ++parsePos;
  return true;
}

template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::Quantify(Node* atom) {
  int min = 0, max = 0;
  if (!ReadQuantifier(min, max)) return atom;
  const int len = static_cast<int>(patternText.size());
  const Char s = parsePos < len ? patternText[parsePos] : Char(0);
  if (parsePos < len && s == '+') {
    ++parsePos;
    return NewNode<BasicPossessiveQuantifierNode<T>>(this, atom, min, max);
  }
  if (parsePos < len && s == '?') {
    ++parsePos;
    return NewNode<BasicLazyQuantifierNode<T>>(this, atom, min, max);
  }
  return NewNode<BasicGreedyQuantifierNode<T>>(this, atom, min, max);
}

template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::QuantifyGroup(Node* front, Node* tail, int gi) {
  int min = 0, max = 0;
  if (!ReadQuantifier(min, max)) return nullptr;
  const int len = static_cast<int>(patternText.size());
  int type = BasicGroupLoopNode<T>::kGreedy;
  if (parsePos < len && patternText[parsePos] == '+') {
    ++parsePos;
    type = BasicGroupLoopNode<T>::kPossessive;
  } else if (parsePos < len && patternText[parsePos] == '?') {
    ++parsePos;
    type = BasicGroupLoopNode<T>::kReluctant;
  }
  Node* prologue = NewNode<BasicGroupLoopPrologueNode<T>>(gi);
  Node* loop = NewNode<BasicGroupLoopNode<T>>(front, min, max, gi, type);
  prologue->next = loop;
  tail->next = loop;
  return prologue;
}

// "{n}", "{n,}", "{,m}", "{n,m}", "{,}", "{}" at parsePos. A text between the
// braces that is not all digits (and has no comma) is no bound: false without
// an error. A bound above 2147483647 is a syntax error.
template <class T>
bool BasicPattern<T>::ParseBounds(int& min, int& max) {
  const int len = static_cast<int>(patternText.size());
  min = max = 0;
  int close = -1, comma = -1;
  for (int i = parsePos + 1; i < len; ++i) {
    if (patternText[i] == '}') {
      close = i;
      break;
    }
    if (patternText[i] == ',' && comma < 0) comma = i;
  }
  if (close < 0) {
    RaiseError();
    return false;
  }
  for (int i = parsePos + 1; i < close; ++i) {
    if (i == comma) continue;
    if (patternText[i] < '0' || patternText[i] > '9') {
      if (comma >= 0) RaiseError();
      return false;
    }
  }
  unsigned int lo = 0, hi = 0;
  if (comma < 0) {
    lo = hi = ParseInt(parsePos + 1, close - 1);
  } else {
    lo = ParseInt(parsePos + 1, comma - 1);
    hi = comma + 1 == close ? unsigned(RegexLimits::kNoUpperBound) : ParseInt(comma + 1, close - 1);
  }
  if (lo > unsigned(RegexLimits::kNoUpperBound) || hi > unsigned(RegexLimits::kNoUpperBound)) {
    RaiseError();
    return false;
  }
  min = static_cast<int>(lo);
  max = static_cast<int>(hi);
  parsePos = close + 1;
  return true;
}

// "{name}": expands the registered pattern of that name in place. A name
// that is being expanded already (a registration that refers to itself,
// directly or through other names) is a syntax error.
template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::ParseRegisteredPattern(Node** end) {
  const int len = static_cast<int>(patternText.size());
  int close = parsePos;
  while (close < len && patternText[close] != '}') ++close;
  if (close >= len) {
    RaiseError();
    return nullptr;
  }
  const String name = patternText.substr(parsePos, close - parsePos);
  auto isAlpha = [](Char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
  };
  bool valid = name.size() >= 2 && isAlpha(name[0]);
  for (size_t i = 1; valid && i < name.size(); ++i)
    valid = isAlpha(name[i]) || (name[i] >= '0' && name[i] <= '9');
  auto& registry = RegisteredPatterns();
  auto found = valid ? registry.find(name) : registry.end();
  if (found == registry.end() ||
      std::find(expanding.begin(), expanding.end(), name) != expanding.end()) {
    RaiseError();
    if (end) *end = nullptr;
    return nullptr;
  }
  const String registeredText = found->second.first;
  if (found->second.second & LITERAL) {
    // A literal registration stands for its text as it is, as Compile takes
    // it with the same flags.
    Node* start = NewNode<BasicSubStartNode<T>>();
    start->next = (found->second.second & CASE_INSENSITIVE)
                      ? static_cast<Node*>(NewNode<BasicCIQuoteNode<T>>(registeredText))
                      : static_cast<Node*>(NewNode<BasicQuoteNode<T>>(registeredText));
    if (end) *end = start->next;
    parsePos = close + 1;
    return start;
  }
  const unsigned long savedFlags = flags;
  String savedText = patternText;
  patternText = registeredText;
  parsePos = 0;
  flags = found->second.second;
  expanding.push_back(name);
  --groupCount;
  Node* expansion = Parse(false, false, end, 0, false);
  expanding.pop_back();
  patternText.swap(savedText);
  parsePos = close + 1;
  flags = savedFlags;
  if (!expansion && end) *end = nullptr;
  return expansion;
}

#endif
