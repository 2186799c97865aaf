#include "base_cmp.h"

// Version comparison; every pair compares equal for now.
int CBaseCmp::CompareVersions(const std::wstring& a, const std::wstring& b) {
  return CompareVersionParts(SplitString(a, L'.'), SplitString(b, L'.'));
}

std::vector<std::wstring> CBaseCmp::SplitString(const std::wstring& text, wchar_t delimiter) {
  (void)text;
  (void)delimiter;
  return {};
}

int CBaseCmp::CompareVersionParts(const std::vector<std::wstring>& a,
                                  const std::vector<std::wstring>& b) {
  (void)a;
  (void)b;
  return 0;
}
