// Class texts: every set of characters the parser builds is a string whose
// characters are the members. Ranges, negation (within the codes 0 to 255),
// union, intersection and the named classes after "\p". Every operation
// sizes its result to its operands.
#ifndef REGEX_CLASS_TEXT_IMPL_H
#define REGEX_CLASS_TEXT_IMPL_H

#include <algorithm>
#include <iterator>

#include "regex/escapes_impl.h"
#include "regex/pattern.h"

// Every character from lo up to hi, both included; the caller makes sure that
// lo does not exceed hi.
template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ClassCreateRange(Char lo, Char hi) const {
  String out;
  const std::uint32_t first = T::Code(lo), last = T::Code(hi);
  if (last < first) return out;
  out.reserve(last - first + 1);
  for (std::uint32_t c = first;; ++c) {
    out += T::FromCode(c);
    if (c == last) break;
  }
  return out;
}

// The codes 0 to 255 that are not members, from 255 down. Under
// CASE_INSENSITIVE an ASCII letter excludes both of its cases.
template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ClassNegate(const String& members) const {
  bool in[256] = {};
  for (Char c : members) {
    const std::uint32_t code = T::Code(c);
    if (code >= 256) continue;
    in[code] = true;
    if (flags & CASE_INSENSITIVE) {
      if (code >= 'a' && code <= 'z') in[code - 32] = true;
      if (code >= 'A' && code <= 'Z') in[code + 32] = true;
    }
  }
  String out;
  for (int code = 255; code >= 0; --code) {
    if (!in[code]) out += T::FromCode(static_cast<std::uint32_t>(code));
  }
  return out;
}

namespace RegexText {
template <class S>
S Sorted(S s) {
  std::sort(s.begin(), s.end());
  return s;
}
}  // namespace RegexText

// Order and repeats carry no meaning in a class text, so a union with an
// empty text (the first part of every bracket class) is the other text.
template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ClassUnion(const String& a, const String& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  String x = RegexText::Sorted(a), y = RegexText::Sorted(b), out;
  out.reserve(x.size() + y.size());
  std::set_union(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(out));
  return out;
}

template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ClassIntersect(const String& a, const String& b) {
  String x = RegexText::Sorted(a), y = RegexText::Sorted(b), out;
  out.reserve(std::min(x.size(), y.size()));
  std::set_intersection(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(out));
  return out;
}

// The named class at parsePos, braces included: "{Lower}" ... "{XDigit}".
template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ParsePosix() {
  using RegexText::Ascii;
  const String alnum =
      Ascii<String>("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
  String punct;
  for (std::uint32_t c = 33; c <= 126; ++c) {
    if ((c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || c >= 123)
      punct += T::FromCode(c);
  }
  String cntrl = ClassCreateRange(Char(0), Char(31));
  cntrl += Char(127);
  const struct {
    const char* name;
    String members;
  } table[] = {
      {"{Lower}", Ascii<String>("abcdefghijklmnopqrstuvwxyz")},
      {"{Upper}", Ascii<String>("ABCDEFGHIJKLMNOPQRSTUVWXYZ")},
      {"{Alpha}", Ascii<String>("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")},
      {"{Digit}", Ascii<String>(RegexText::kDigits)},
      {"{Alnum}", alnum},
      {"{Punct}", punct},
      {"{Graph}", alnum + punct},
      {"{Print}", alnum + punct},
      {"{Blank}", Ascii<String>(" \t")},
      {"{Space}", Ascii<String>(" \t\n\v\f\r")},
      {"{Cntrl}", cntrl},
      {"{ASCII}", ClassCreateRange(Char(0), Char(127))},
      {"{XDigit}", Ascii<String>("abcdefABCDEF0123456789")},
  };
  for (const auto& entry : table) {
    const String name = Ascii<String>(entry.name);
    if (patternText.compare(parsePos, name.size(), name) == 0) {
      parsePos += static_cast<int>(name.size());
      return entry.members;
    }
  }
  RaiseError();
  return String();
}

#endif
