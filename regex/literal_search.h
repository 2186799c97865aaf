// Finds the occurrences of a literal text in a text in linear time (the
// Knuth-Morris-Pratt automaton), so that a pattern that begins with a long
// literal text is not compared again at every start position.
#ifndef REGEX_LITERAL_SEARCH_H
#define REGEX_LITERAL_SEARCH_H

#include <vector>

namespace RegexEngine {

template <class T>
class BasicLiteralSearch {
 public:
  using Char = typename T::Char;
  using String = typename T::String;

  // Where the scan stands: the next index of the text to read, and how many
  // characters of the literal end just before it.
  struct Cursor {
    int at;
    int matched;
  };

  BasicLiteralSearch() = default;
  BasicLiteralSearch(const String& literal, bool ci) : ci_(ci) {
    for (Char c : literal) lit_.push_back(Fold(c));
    const int n = static_cast<int>(lit_.size());
    border_.assign(static_cast<std::size_t>(n), 0);
    for (int i = 1, k = 0; i < n; ++i) {
      while (k > 0 && lit_[i] != lit_[k]) k = border_[k - 1];
      if (lit_[i] == lit_[k]) ++k;
      border_[i] = k;
    }
  }

  int Length() const { return static_cast<int>(lit_.size()); }

  // The start of the next occurrence at or after where the cursor stands, or
  // -1; the cursor then stands after that occurrence, so that a further call
  // finds the next one, overlapping occurrences included. Every character
  // read is added to *read.
  int Next(const String& text, Cursor& cursor, long long* read) const {
    const int n = Length();
    const int len = static_cast<int>(text.size());
    int i = cursor.at;
    int k = cursor.matched;
    if (k == n) k = border_[n - 1];
    const int first = i;
    int found = -1;
    for (; i < len; ++i) {
      const Char c = Fold(text[i]);
      while (k > 0 && c != lit_[k]) k = border_[k - 1];
      if (c == lit_[k]) ++k;
      if (k == n) {
        ++i;
        found = i - n;
        break;
      }
    }
    *read += i - first;
    cursor.at = i;
    cursor.matched = k;
    return found;
  }

 private:
  Char Fold(Char c) const { return ci_ ? T::Lower(c) : c; }

  bool ci_ = false;
  String lit_;
  std::vector<int> border_;  // border_[i]: longest proper border of lit_[0..i]
};

}  // namespace RegexEngine

#endif
