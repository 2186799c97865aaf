// Cutting a text into pieces at one delimiter character: output into lines at
// '\n', a version into its parts at '.'.
#ifndef COMPONENT_SPLIT_TEXT_H
#define COMPONENT_SPLIT_TEXT_H

#include <string>
#include <vector>

// The pieces between delimiters, in order. Every piece that a delimiter ends
// is kept, also an empty one; the rest after the last delimiter is kept only
// when it is not empty. So the empty text gives no piece, a final delimiter
// adds no empty piece, and every other character ('\r', NUL) stays in its
// piece.
template <class String>
std::vector<String> SplitText(const String& text, typename String::value_type delimiter) {
  std::vector<String> pieces;
  typename String::size_type start = 0;
  for (auto at = text.find(delimiter); at != String::npos; at = text.find(delimiter, start)) {
    pieces.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  if (start < text.size()) pieces.push_back(text.substr(start));
  return pieces;
}

#endif
