// Dotted version comparison: the parts compare one by one, numerically when
// both are all digits, otherwise as text by code unit.
#include <algorithm>
#include <cwchar>

#include "component/base_cmp.h"
#include "component/split_text.h"
#include "regex/pattern.h"

namespace {

// True when the part is a non-empty run of the ASCII digits 0 to 9.
bool IsDigitPart(const std::wstring& part) { return UPattern::MatchesStatic(L"\\d+", part, 0); }

int Sign(int value) { return value > 0 ? 1 : (value < 0 ? -1 : 0); }

// Compares two runs of ASCII digits by their numeric value without converting
// them, so that parts too long for any integer type still order by value:
// leading zeros carry no weight, a longer remaining run is the larger number,
// and runs of equal length compare digit by digit.
int CompareDigitRuns(const std::wstring& a, const std::wstring& b) {
  const std::size_t aStart = std::min(a.find_first_not_of(L'0'), a.size());
  const std::size_t bStart = std::min(b.find_first_not_of(L'0'), b.size());
  const std::size_t aLength = a.size() - aStart;
  const std::size_t bLength = b.size() - bStart;
  if (aLength != bLength) return aLength > bLength ? 1 : -1;
  return Sign(a.compare(aStart, aLength, b, bStart, bLength));
}

}  // namespace

int CBaseCmp::CompareVersions(const std::wstring& a, const std::wstring& b) {
  return CompareVersionParts(SplitString(a, L'.'), SplitString(b, L'.'));
}

// Inner empty pieces are kept; a trailing empty piece is dropped, so the empty
// text gives no pieces at all.
std::vector<std::wstring> CBaseCmp::SplitString(const std::wstring& text, wchar_t delimiter) {
  return SplitText(text, delimiter);
}

// A version that runs out of parts first is the older one, even when the
// other's extra parts are zeros.
int CBaseCmp::CompareVersionParts(const std::vector<std::wstring>& a,
                                  const std::vector<std::wstring>& b) {
  for (std::size_t i = 0;; ++i) {
    if (i >= a.size()) return b.size() > a.size() ? -1 : 0;
    if (i >= b.size()) return 1;
    const int result = IsDigitPart(a[i]) && IsDigitPart(b[i])
                           ? CompareDigitRuns(a[i], b[i])
                           : Sign(std::wcscmp(a[i].c_str(), b[i].c_str()));
    if (result != 0) return result;
  }
}

const wchar_t* CBaseCmp::ActionText(int comparison) {
  if (comparison > 0) return L"upgrade";
  if (comparison < 0) return L"downgrade";
  return L"rewrite";
}
