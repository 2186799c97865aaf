// Zero-width tests of the position: line and input boundaries, word
// boundaries, the end of the previous match and fixed-text look-behind.
#ifndef REGEX_ANCHOR_NODES_H
#define REGEX_ANCHOR_NODES_H

#include "regex/node.h"

namespace RegexEngine {
template <class T>
bool IsLineEnd(typename T::Char c) {
  return c == typename T::Char('\n') || c == typename T::Char('\r');
}
}  // namespace RegexEngine

template <class T>
class BasicStartOfInputNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  int Match(const String& text, Matcher* m, int cur) const override {
    return cur == 0 ? this->Continue(text, m, 0) : -1;
  }
  bool IsStartOfInputNode() const override { return true; }
  bool ReadsCapturesOrStart() const override { return false; }
};

template <class T>
class BasicStartOfLineNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  int Match(const String& text, Matcher* m, int cur) const override {
    if (cur == 0 ||
        (cur <= static_cast<int>(text.size()) && RegexEngine::IsLineEnd<T>(text[cur - 1])))
      return this->Continue(text, m, cur);
    return -1;
  }
  bool ReadsCapturesOrStart() const override { return false; }
};

template <class T>
class BasicEndOfLineNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  int Match(const String& text, Matcher* m, int cur) const override {
    if (cur >= static_cast<int>(text.size()) || RegexEngine::IsLineEnd<T>(text[cur]))
      return this->Continue(text, m, cur);
    return -1;
  }
  bool ReadsCapturesOrStart() const override { return false; }
};

// "\z" and '$' (term false): the end only. "\Z" (term true): also before a
// final line terminator, which is not consumed.
template <class T>
class BasicEndOfInputNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  explicit BasicEndOfInputNode(bool t) : term(t) {}
  int Match(const String& text, Matcher* m, int cur) const override {
    const int len = static_cast<int>(text.size());
    if (cur == len) return this->Continue(text, m, cur);
    if (!term) return -1;
    if (cur == len - 1 && RegexEngine::IsLineEnd<T>(text[cur])) return this->Continue(text, m, cur);
    if (cur == len - 2 && text[cur] == '\r' && text[cur + 1] == '\n')
      return this->Continue(text, m, cur);
    return -1;
  }
  bool ReadsCapturesOrStart() const override { return false; }
  bool term;
};

// "\b" (pos true) and "\B" (pos false). Letters are the ASCII letters only.
// At the end of the text both continue; elsewhere "\B" holds where "\b" does
// not.
template <class T>
class BasicWordBoundaryNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::Char;
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  explicit BasicWordBoundaryNode(bool p) : pos(p) {}
  int Match(const String& text, Matcher* m, int cur) const override {
    const int len = static_cast<int>(text.size());
    if (cur >= len) return this->Continue(text, m, cur);
    bool before = cur > 0 && IsLetter(text[cur - 1]);
    bool boundary = before != IsLetter(text[cur]);
    return boundary == pos ? this->Continue(text, m, cur) : -1;
  }
  bool ReadsCapturesOrStart() const override { return false; }
  bool pos;

 private:
  static bool IsLetter(Char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
};

// "\G": the index where the current search began, so it keeps the default
// answer of ReadsCapturesOrStart.
template <class T>
class BasicEndOfMatchNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  int Match(const String& text, Matcher* m, int cur) const override {
    return cur == m->lastMatchEnd ? this->Continue(text, m, cur) : -1;
  }
};

// Look-behind over a fixed text; with an empty text and pos true it always
// continues (the node of an inline flag setting).
template <class T>
class BasicLookBehindNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  BasicLookBehindNode(const String& s, bool p) : pos(p), str(s) {}
  int Match(const String& text, Matcher* m, int cur) const override {
    const int n = static_cast<int>(str.size());
    const bool fits = n <= cur && cur <= static_cast<int>(text.size());
    const bool found = fits && (n == 0 || this->LiteralAt(str, false, text, m, cur - n));
    if (m->budget.Exhausted()) return -1;
    return found == pos ? this->Continue(text, m, cur) : -1;
  }
  bool IsTransparent() const override { return pos && str.empty(); }
  bool IsPassThrough() const override { return pos && str.empty(); }
  bool ReadsCapturesOrStart() const override { return false; }
  bool pos;
  String str;
};

#endif
