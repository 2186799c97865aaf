// libFuzzer target for the pattern engine: compile, whole-text match, finds,
// groups, split and replace, on the narrow copy and on the wide copy.
//
// Input layout: byte 0 holds the compile flags (bits 0-4), the split's
// keepEmpty (bit 5), the split limit (bit 6: 2, else 0) and how the wide text
// is derived (bit 7: two bytes per character, so that characters above 255
// occur; else one byte per character). The rest is pattern NUL text NUL
// replacement; missing parts are empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "regex/pattern.h"
#include "regex/regex_limits.h"

namespace {

// The step bound of every operation under fuzzing, far below the program's:
// a case that runs to the bound ends in milliseconds, so the fuzzer spends
// its time on answers rather than on waiting for the bound.
constexpr long long kFuzzStepBound = 100000;

struct Input {
  unsigned long flags = 0;
  bool keepEmpty = false;
  unsigned long limit = 0;
  bool wideText = false;
  std::string pattern, text, replacement;
};

Input Decode(const uint8_t* data, size_t size) {
  Input in;
  if (size == 0) return in;
  in.flags = data[0] & 0x1F;
  in.keepEmpty = (data[0] & 0x20) != 0;
  in.limit = (data[0] & 0x40) ? 2 : 0;
  in.wideText = (data[0] & 0x80) != 0;
  std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  size_t a = rest.find('\0');
  in.pattern = rest.substr(0, a);
  if (a == std::string::npos) return in;
  size_t b = rest.find('\0', a + 1);
  in.text = rest.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
  if (b != std::string::npos) in.replacement = rest.substr(b + 1);
  return in;
}

std::wstring Widen(const std::string& s) {
  std::wstring w;
  for (unsigned char c : s) w += static_cast<wchar_t>(c);
  return w;
}

std::wstring WidenPairs(const std::string& s) {
  std::wstring w;
  for (size_t i = 0; i + 1 < s.size(); i += 2)
    w += static_cast<wchar_t>(static_cast<unsigned char>(s[i]) |
                              (static_cast<unsigned char>(s[i + 1]) << 8));
  return w;
}

// Group indices must lie inside the text and in order whenever both are set.
template <typename M>
void CheckGroups(M& m, size_t length) {
  std::vector<typename M::String> groups = m.GetGroups(true);
  for (int g = 0; g < static_cast<int>(groups.size()); ++g) {
    int s = m.GetStartingIndex(g), e = m.GetEndingIndex(g);
    if (s >= 0 && e >= 0 && (s > e || static_cast<size_t>(e) > length)) std::abort();
    if (groups[g] != m.GetGroup(g)) std::abort();
  }
  (void)m.GetGroup(-1);
  (void)m.GetGroup(static_cast<int>(groups.size()));
}

template <typename P>
void Exercise(const typename P::String& pattern, const typename P::String& text,
              const typename P::String& replacement, const Input& in) {
  P* p = P::Compile(pattern, in.flags);
  if (!p) return;
  auto* m = p->CreateMatcher(text);
  if (m->Matches()) {
    if (m->GetStartingIndex(0) != 0 || m->GetEndingIndex(0) != static_cast<int>(text.size()))
      std::abort();
    CheckGroups(*m, text.size());
  }
  // Every find moves forward; the number of finds is bounded by the length.
  int previousEnd = -1;
  for (size_t n = 0; n <= text.size() + 1 && m->FindNextMatch(); ++n) {
    if (m->GetEndingIndex(0) < previousEnd) std::abort();
    previousEnd = m->GetEndingIndex(0);
    CheckGroups(*m, text.size());
    (void)m->ReplaceWithGroups(replacement);
  }
  delete m;
  (void)p->Matches(text);
  (void)p->FindAll(text);
  (void)p->Split(text, in.keepEmpty, in.limit);
  (void)p->Replace(text, replacement);
  delete p;
}

// What one copy says about a text: the whole-text answer and every find with
// its groups, as index pairs.
template <typename P>
std::vector<int> Outline(const typename P::String& pattern, const typename P::String& text,
                         unsigned long flags, bool* limited = nullptr) {
  std::vector<int> out;
  P* p = P::Compile(pattern, flags);
  if (!p) return out;
  auto* m = p->CreateMatcher(text);
  out.push_back(m->Matches() ? 1 : 0);
  auto groups = [&] {
    int count = static_cast<int>(m->GetGroups(true).size());
    for (int g = 0; g < count; ++g) {
      out.push_back(m->GetStartingIndex(g));
      out.push_back(m->GetEndingIndex(g));
    }
  };
  if (out[0]) groups();
  m->Reset();
  bool boundReached = m->LimitExceeded();
  for (size_t n = 0; n <= text.size() + 1 && m->FindNextMatch(); ++n) {
    out.push_back(-9);
    groups();
    boundReached = boundReached || m->LimitExceeded();
  }
  boundReached = boundReached || m->LimitExceeded();
  if (limited) *limited = boundReached;
  delete m;
  delete p;
  return out;
}

bool Ascii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

// On ASCII patterns and texts the two copies must agree, except where the
// wide "\x" may read four hex digits.
void CompareCopies(const Input& in) {
  if (in.wideText || !Ascii(in.pattern) || !Ascii(in.text) ||
      in.pattern.find("\\x") != std::string::npos)
    return;
  if (Outline<Pattern>(in.pattern, in.text, in.flags) !=
      Outline<UPattern>(Widen(in.pattern), Widen(in.text), in.flags))
    std::abort();
}

// Remembering failed positions changes no answer: the outline with the
// table made from the first step equals the outline without it, wherever
// the run without it ended within the step bound. Without the table nested
// repetitions take time exponential in the text, so only short texts are
// compared: on longer ones every find of such a pattern would run to the
// bound.
void CompareRemembering(const Input& in) {
  if (in.text.size() > 14) return;
  bool limited = false;
  std::vector<int> without, with;
  {
    RegexLimits::ScopedTestLimits never(RegexLimits::kNeverRemember, kFuzzStepBound);
    without = Outline<Pattern>(in.pattern, in.text, in.flags, &limited);
  }
  {
    RegexLimits::ScopedTestLimits fromFirstStep(0, kFuzzStepBound);
    with = Outline<Pattern>(in.pattern, in.text, in.flags);
  }
  if (!limited && with != without) std::abort();
}

bool RegisterNames() {
  Pattern::RegisterPattern("ab", "x(y)");
  Pattern::RegisterPattern("num", "\\d+");
  UPattern::RegisterPattern(L"ab", L"x(y)");
  UPattern::RegisterPattern(L"num", L"\\d+");
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool registered = RegisterNames();
  (void)registered;
  // Long inputs mostly find patterns whose work no table can remember
  // (back references over long runs), which end at the step bound.
  if (size > 512) return 0;
  const RegexLimits::ScopedTestLimits limits(RegexLimits::kRememberAfterSteps, kFuzzStepBound);
  Input in = Decode(data, size);
  Exercise<Pattern>(in.pattern, in.text, in.replacement, in);
  Exercise<UPattern>(Widen(in.pattern), in.wideText ? WidenPairs(in.text) : Widen(in.text),
                     Widen(in.replacement), in);
  CompareCopies(in);
  CompareRemembering(in);
  return 0;
}
