#include <cwctype>

#include "component/base_cmp.h"

std::wstring CBaseCmp::ToUpper(const std::wstring& text) {
  std::wstring result(text);
  for (wchar_t& wc : result) wc = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(wc)));
  return result;
}
