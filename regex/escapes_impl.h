// Backslash escapes, "\x" and "\0" escapes, "\Q...\E" quotes, back
// references, look-behind texts and bracket classes.
#ifndef REGEX_ESCAPES_IMPL_H
#define REGEX_ESCAPES_IMPL_H

#include <cstring>

#include "regex/anchor_nodes.h"
#include "regex/regex_limits.h"
#include "regex/char_nodes.h"
#include "regex/pattern.h"
#include "regex/structure_nodes.h"

namespace RegexText {
// An ASCII text in either character type.
template <class S>
S Ascii(const char* text) {
  return S(text, text + std::strlen(text));
}
template <class C>
int HexValue(C c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
constexpr const char* kDigits = "0123456789";
constexpr const char* kSpaces = " \t\r\n\f";
constexpr const char* kWord = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";

// The sets of "\d", "\s" and "\w" (and of the dot's exclusions), made when the
// program is compiled: constant data that exists before any code runs and
// is never written, so that compiling a pattern does not build them again.
inline constexpr RegexEngine::LowSet kDigitSet = RegexEngine::LowSetOf(kDigits);
inline constexpr RegexEngine::LowSet kSpaceSet = RegexEngine::LowSetOf(kSpaces);
inline constexpr RegexEngine::LowSet kWordSet = RegexEngine::LowSetOf(kWord);
inline constexpr RegexEngine::LowSet kLineEndSet = RegexEngine::LowSetOf("\n\r");
inline constexpr RegexEngine::LowSet kNewLineSet = RegexEngine::LowSetOf("\n");
inline constexpr RegexEngine::LowSet kEmptySet = RegexEngine::LowSetOf("");

// The prebuilt set of the shorthand class escape letter c ('d', 'D', 's',
// 'S', 'w', 'W'), or null; inverted tells the upper-case letters.
template <class C>
const RegexEngine::LowSet* ShorthandSet(C c, bool& inverted) {
  inverted = c == 'D' || c == 'S' || c == 'W';
  switch (c) {
    case 'd':
    case 'D':
      return &kDigitSet;
    case 's':
    case 'S':
      return &kSpaceSet;
    case 'w':
    case 'W':
      return &kWordSet;
    default:
      return nullptr;
  }
}
}  // namespace RegexText

// parsePos is on the character after the backslash. Returns one character or
// a class text; sets inverted for "\D", "\S", "\W", "\P" and quote for "\Q".
template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ParseEscape(bool& inverted, bool& quote) {
  using RegexText::Ascii;
  const int len = static_cast<int>(patternText.size());
  inverted = quote = false;
  if (parsePos >= len) {
    ++parsePos;
    RaiseError();
    return String();
  }
  const Char c = patternText[parsePos++];
  switch (c) {
    case 'd':
      return Ascii<String>(RegexText::kDigits);
    case 'D':
      inverted = true;
      return Ascii<String>(RegexText::kDigits);
    case 's':
      return Ascii<String>(RegexText::kSpaces);
    case 'S':
      inverted = true;
      return Ascii<String>(RegexText::kSpaces);
    case 'w':
      return Ascii<String>(RegexText::kWord);
    case 'W':
      inverted = true;
      return Ascii<String>(RegexText::kWord);
    case 'p':
      return ParsePosix();
    case 'P':
      inverted = true;
      return ParsePosix();
    case 'Q':
      quote = true;
      return String();
    case 't':
      return String(1, Char(9));
    case 'n':
      return String(1, Char(10));
    case 'r':
      return String(1, Char(13));
    case 'e':
      return String(1, Char(13));
    case 'f':
      return String(1, Char(12));
    case 'a':
      return String(1, Char(7));
    case '0':
      return ParseOctal();
    case 'x':
      return ParseHex();
    default:
      return String(1, c);
  }
}

// parsePos is after the 'x'. Invalid digits give a space, without an error.
template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ParseHex() {
  const int len = static_cast<int>(patternText.size());
  auto digit = [&](int i) { return i < len ? RegexText::HexValue(patternText[i]) : -1; };
  if (T::kLongHex && digit(parsePos) >= 0 && digit(parsePos + 1) >= 0 && digit(parsePos + 2) >= 0 &&
      digit(parsePos + 3) >= 0) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v * 16 + static_cast<std::uint32_t>(digit(parsePos + i));
    parsePos += 4;
    return String(1, T::FromCode(v));
  }
  if (digit(parsePos) >= 0 && digit(parsePos + 1) >= 0) {
    std::uint32_t v = static_cast<std::uint32_t>(digit(parsePos) * 16 + digit(parsePos + 1));
    parsePos += 2;
    return String(1, T::FromCode(v));
  }
  return String(1, Char(' '));
}

// parsePos is after the '0'. Two octal digits at least; a third when the
// first is 0 to 3.
template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ParseOctal() {
  const int len = static_cast<int>(patternText.size());
  auto octal = [&](int i) {
    return (i < len && patternText[i] >= '0' && patternText[i] <= '7') ? int(patternText[i] - '0')
                                                                       : -1;
  };
  const int d1 = octal(parsePos), d2 = octal(parsePos + 1), d3 = octal(parsePos + 2);
  if (d1 >= 0 && d2 >= 0) {
    std::uint32_t v = static_cast<std::uint32_t>(8 * d1 + d2);
    parsePos += 2;
    if (d1 <= 3 && d3 >= 0) {
      v = 8 * v + static_cast<std::uint32_t>(d3);
      ++parsePos;
    }
    return String(1, T::FromCode(v));
  }
  RaiseError();
  return String(1, Char(' '));
}

// parsePos is after the 'Q'. A backslash takes the next character literally.
template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::ParseQuote() {
  const int len = static_cast<int>(patternText.size());
  String text;
  for (;;) {
    if (parsePos >= len) {
      RaiseError();
      break;
    }
    const Char c = patternText[parsePos];
    if (c != '\\') {
      text += c;
      ++parsePos;
    } else if (parsePos + 1 >= len) {
      ++parsePos;
      RaiseError();
      break;
    } else if (patternText[parsePos + 1] == 'E') {
      parsePos += 2;
      break;
    } else {
      text += patternText[parsePos + 1];
      parsePos += 2;
    }
  }
  if (flags & CASE_INSENSITIVE) return NewNode<BasicCIQuoteNode<T>>(text);
  return NewNode<BasicQuoteNode<T>>(text);
}

// parsePos is on the first digit. A third or later digit is taken only while
// the number so far names a group already opened.
template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::ParseBackref() {
  const int len = static_cast<int>(patternText.size());
  long long value = 0;
  while (parsePos < len && patternText[parsePos] >= '0' && patternText[parsePos] <= '9' &&
         (value <= 9 || value < groupCount)) {
    value = 10 * value + (patternText[parsePos] - '0');
    ++parsePos;
  }
  return NewNode<BasicReferenceNode<T>>(static_cast<int>(value));
}

// parsePos is after "(?<=" or "(?<!". Every character up to the closing ')'
// is literal; a backslash takes the next character as it is.
template <class T>
typename BasicPattern<T>::Node* BasicPattern<T>::ParseBehind(bool pos, Node** end) {
  const int len = static_cast<int>(patternText.size());
  String text;
  Node* node = nullptr;
  for (;;) {
    if (parsePos >= len) {
      RaiseError();
      break;
    }
    const Char c = patternText[parsePos];
    if (c == ')') {
      ++parsePos;
      break;
    }
    if (c == '\\') {
      if (parsePos + 1 >= len - 1) {
        parsePos = len;
        RaiseError();
        node = NewNode<BasicCharNode<T>>(Char(' '));
        break;
      }
      text += patternText[parsePos + 1];
      parsePos += 2;
    } else {
      text += c;
      ++parsePos;
    }
  }
  if (!node) node = NewNode<BasicLookBehindNode<T>>(text, pos);
  if (end) *end = node;
  return node;
}

// parsePos is after the '['. Returns the member text; nested classes unite,
// "&&[" intersects, a leading '^' negates what was gathered.
template <class T>
typename BasicPattern<T>::String BasicPattern<T>::ParseClass() {
  const int len = static_cast<int>(patternText.size());
  // Nested classes share the parser's nesting bound: deeper is a syntax error.
  RegexLimits::DepthGuard guard(parseDepth);
  if (parseDepth > RegexLimits::kMaxParseDepth) {
    RaiseError();
    parsePos = len;
    return String();
  }
  String result;
  bool negate = false;
  if (parsePos < len && patternText[parsePos] == '^') {
    negate = true;
    ++parsePos;
  }
  while (parsePos < len && patternText[parsePos] != ']') {
    const Char c = patternText[parsePos++];
    const bool rangeFollows = parsePos < len && patternText[parsePos] == '-';
    if (c == '[') {
      result = ClassUnion(result, ParseClass());
    } else if (c == '&' && parsePos < len && patternText[parsePos] == '&') {
      ++parsePos;
      if (parsePos < len && patternText[parsePos] == '[') {
        ++parsePos;
        result = ClassIntersect(result, ParseClass());
      } else {
        RaiseError();
        parsePos = len;
      }
    } else if (c == '\\') {
      bool inverted = false, quote = false;
      String t = ParseEscape(inverted, quote);
      if (quote) {
        RaiseError();
        parsePos = len;
      } else if (inverted || t.size() >= 2) {
        result = ClassUnion(result, inverted ? ClassNegate(t) : t);
      } else if (t.size() == 1) {
        if (parsePos < len && patternText[parsePos] == '-')
          ParseClassRange(t[0], result);
        else
          result += t;
      }
    } else if (rangeFollows) {
      ParseClassRange(c, result);
    } else {
      result += c;
    }
  }
  if (parsePos < len && patternText[parsePos] == ']') {
    ++parsePos;
    return negate ? ClassNegate(result) : result;
  }
  RaiseError();
  return String();
}

// parsePos is on the '-' after the range start. A range whose end lies below
// its start is a syntax error.
template <class T>
void BasicPattern<T>::ParseClassRange(Char start, String& result) {
  const int len = static_cast<int>(patternText.size());
  ++parsePos;
  if (parsePos >= len) {
    RaiseError();
    return;
  }
  Char e = patternText[parsePos++];
  if (e == '\\') {
    bool inverted = false, quote = false;
    String t = ParseEscape(inverted, quote);
    if (quote) {
      RaiseError();
      parsePos = len;
      return;
    }
    if (inverted || t.size() != 1) {
      RaiseError();
      return;
    }
    e = t[0];
  } else if (e == '[' || e == ']' || e == '-' || e == '&') {
    RaiseError();
    parsePos = len;
    return;
  }
  if (T::Code(e) < T::Code(start) || T::Code(e) > T::kMaxCode) {
    RaiseError();
    return;
  }
  result = ClassUnion(result, ClassCreateRange(start, e));
}

#endif
