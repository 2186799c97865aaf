#include "component/text_convert.h"

#include <cstring>
#include <cwchar>

std::wstring NarrowToWide(const char* text) {
  std::wstring result;
  if (text == nullptr) return result;
  std::size_t left = std::strlen(text);
  std::mbstate_t state{};
  while (left > 0) {
    wchar_t wc = 0;
    std::size_t n = std::mbrtowc(&wc, text, left, &state);
    // A rejected or incomplete sequence, or a NUL, ends the text.
    if (n == 0 || n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) break;
    result.push_back(wc);
    text += n;
    left -= n;
  }
  return result;
}

std::wstring WidenBytes(const std::string& bytes) {
  std::wstring result;
  result.reserve(bytes.size());
  for (char c : bytes) result.push_back(static_cast<wchar_t>(static_cast<signed char>(c)));
  return result;
}

std::string NarrowLowBytes(const std::wstring& text) {
  std::string result;
  result.reserve(text.size());
  for (wchar_t wc : text) result.push_back(static_cast<char>(static_cast<unsigned>(wc) & 0xFFu));
  return result;
}
