// Nodes that consume text: one character, a class of characters, a literal
// string. Each has a case-sensitive and a case-insensitive form.
#ifndef REGEX_CHAR_NODES_H
#define REGEX_CHAR_NODES_H

#include "regex/charset.h"
#include "regex/node.h"

// What the nodes of one character share: Derived::Test decides whether the
// character at the index belongs, and the match moves on by one.
template <class T, class Derived>
class BasicOneCharNode : public BasicNode<T> {
 public:
  using typename BasicNode<T>::Char;
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;

  int Match(const String& text, Matcher* m, int cur) const override {
    if (cur < static_cast<int>(text.size()) && Self().Test(text[cur]))
      return this->Continue(text, m, cur + 1);
    return -1;
  }
  bool IsSingleChar() const override { return true; }
  bool TestChar(Char c) const override { return Self().Test(c); }
  const BasicNode<T>* FirstCharTest() const override { return this; }
  int MinWidth() const override { return 1; }
  bool ReadsCapturesOrStart() const override { return false; }

 private:
  const Derived& Self() const { return static_cast<const Derived&>(*this); }
};

// One literal character; the CI form stores it lowered and lowers the text.
template <class T, bool CI>
class BasicCharNodeT : public BasicOneCharNode<T, BasicCharNodeT<T, CI>> {
 public:
  REGEX_PRINT_LINES
  using Char = typename T::Char;

  explicit BasicCharNodeT(Char c) : ch(CI ? T::Lower(c) : c) {}

  bool Test(Char c) const { return (CI ? T::Lower(c) : c) == ch; }
  long RequiredChar() const override { return CI ? -1 : long(T::Code(ch)); }

  Char ch;
};

// A set of characters, possibly inverted; the CI form lowers its members when
// it is built and the text character when it tests.
template <class T, bool CI>
class BasicClassNodeT : public BasicOneCharNode<T, BasicClassNodeT<T, CI>> {
 public:
  REGEX_PRINT_LINES
  using Char = typename T::Char;
  using String = typename T::String;

  BasicClassNodeT(const String& members, bool inverted) : inv(inverted), vals(members, CI) {}
  // From a prebuilt set (the case-sensitive form only: the CI form lowers
  // the members of a text).
  BasicClassNodeT(const RegexEngine::LowSet& members, bool inverted)
      : inv(inverted), vals(members) {
    static_assert(!CI, "a case-insensitive class lowers the members of a text");
  }

  bool Test(Char c) const { return vals.Contains(CI ? T::Lower(c) : c) != inv; }
  bool PassesEveryChar() const override { return inv && vals.Empty(); }

  bool inv;
  RegexEngine::BasicCharSet<T> vals;
};

// A literal string; the CI form compares ignoring letter case.
template <class T, bool CI>
class BasicQuoteNodeT : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;

  explicit BasicQuoteNodeT(const String& s) : str(s) {}

  int Match(const String& text, Matcher* m, int cur) const override {
    if (!this->LiteralAt(str, CI, text, m, cur)) return -1;
    return this->Continue(text, m, cur + static_cast<int>(str.size()));
  }
  long RequiredChar() const override { return (!CI && !str.empty()) ? long(T::Code(str[0])) : -1; }
  int MinWidth() const override { return static_cast<int>(str.size()); }
  const String* LiteralText(bool& ci) const override {
    ci = CI;
    return &str;
  }
  bool ReadsCapturesOrStart() const override { return false; }

  String str;
};

template <class T>
using BasicCharNode = BasicCharNodeT<T, false>;
template <class T>
using BasicCICharNode = BasicCharNodeT<T, true>;
template <class T>
using BasicClassNode = BasicClassNodeT<T, false>;
template <class T>
using BasicCIClassNode = BasicClassNodeT<T, true>;
template <class T>
using BasicQuoteNode = BasicQuoteNodeT<T, false>;
template <class T>
using BasicCIQuoteNode = BasicQuoteNodeT<T, true>;

#endif
