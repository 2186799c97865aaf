// Where the wide copy differs from the narrow one: "\x" width, characters
// above 255, and class negation that stays within the codes 0 to 255.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "tests/regex/regex_test_util.h"

namespace {

struct WideCase {
  const wchar_t* pattern;
  const wchar_t* text;
  bool matches;
};

const WideCase kWideCases[] = {
    {L"\\d+", L"0", true},
    {L"\\d+", L"10", true},
    {L"\\d+", L"", false},
    {L"\\d+", L"1a", false},
    {L"\\d+", L"1.0", false},
    {L"\\d+", L"\x0660", false},
    {L"\\x0041", L"A", true},
    {L"\\x41BC", L"\x41BC", true},
    {L"\\x41BC", L"ABC", false},
    {L"\\x41G", L"AG", true},
    {L"[^]", L"\x0100", false},
    {L"[^a]", L"\x0100", false},
    {L"[\\D]", L"\x0100", false},
    {L"\\D", L"\x0100", true},
    {L"\\W", L"\x4E2D", true},
    {L".", L"\x4E2D", true},
    {L"\x4E2D+", L"\x4E2D\x4E2D", true},
    {L"[\x4E00-\x4E2F]", L"\x4E2D", true},
    {L"[\\x0100-\\x2000]", L"\x1500", true},
    {L"[\\x0100-\\x2000]", L"\x2001", false},
    {L"[\\x0000-\\xFFFF]+", L"a\xFFFF\x0100", true},
    {L"[\\x0100-\\x2000&&[\\x1000-\\x1FFF]]", L"\x1500", true},
    {L"[\\x0100-\\x2000&&[\\x1000-\\x1FFF]]", L"\x0200", false},
    {L"[\x1F600-\x1F64F]", L"\x1F610", true},
    {L"\\Q\x4E2D\\E", L"\x4E2D", true},
};

TEST(WideCopy, MatchesWhereTheCopiesDiffer) {
  for (const WideCase& c : kWideCases) {
    SCOPED_TRACE(Narrow(std::wstring(c.pattern)));
    EXPECT_EQ(UPattern::MatchesStatic(c.pattern, c.text, 0), c.matches);
  }
}

// Random classes of wide members, of a few ranges and of many, across the
// Basic Multilingual Plane, the planes above it and the codes beyond
// U+10FFFF (written one by one, since a range may not end there): every
// code near the ends of a range, near the edges of 256-code blocks and
// planes, and at random, matches exactly when it is a member.
TEST(WideCopy, ClassesOfManyRangesHoldExactlyTheirMembers) {
  std::uint64_t state = 0x5EED0C1A55ull;
  auto below = [&state](std::uint32_t n) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>((state >> 33) % n);
  };
  for (int trial = 0; trial < 80; ++trial) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
    std::wstring pattern = L"[";
    const int count = 1 + static_cast<int>(below(trial % 2 ? 40 : 10));
    for (int k = 0; k < count; ++k) {
      const std::uint32_t area = below(3);
      if (area == 2) {  // beyond U+10FFFF: a short run written one by one
        const std::uint32_t lo = 0x110000 + below(1u << 20) * 37, hi = lo + below(20);
        for (std::uint32_t c = lo; c <= hi; ++c) pattern += static_cast<wchar_t>(c);
        ranges.push_back({lo, hi});
        continue;
      }
      const std::uint32_t lo = area == 0 ? 0x100 + below(0xFE00) : 0x10000 + below(0x100000);
      const std::uint32_t lengths[] = {1, 2 + below(300), 256 * (1 + below(4)), 1 + below(70000)};
      const std::uint32_t hi = std::min<std::uint32_t>(lo + lengths[below(4)] - 1, 0x10FFFF);
      pattern += static_cast<wchar_t>(lo);
      pattern += L'-';
      pattern += static_cast<wchar_t>(hi);
      ranges.push_back({lo, hi});
    }
    pattern += L"]";
    auto member = [&ranges](std::uint32_t c) {
      for (const auto& r : ranges)
        if (r.first <= c && c <= r.second) return true;
      return false;
    };
    std::vector<std::uint32_t> probes = {0, 'a', 0xFF, 0x100, 0xFFFF, 0x10000, 0x10FFFF, 0x110000};
    for (const auto& r : ranges) {
      for (std::uint32_t edge : {r.first, r.second, r.first & ~0xFFu, r.second | 0xFFu}) {
        for (int d = -1; d <= 1; ++d) probes.push_back(edge + static_cast<std::uint32_t>(d));
      }
      probes.push_back(r.first + below(r.second - r.first + 1));
    }
    for (int k = 0; k < 300; ++k) probes.push_back(0x100 + below(0x200000));
    std::wstring text, expected;
    for (std::uint32_t c : probes) {
      text += static_cast<wchar_t>(c);
      if (member(c)) expected += static_cast<wchar_t>(c);
    }
    auto p = Own(UPattern::Compile(pattern, 0));
    ASSERT_NE(p, nullptr);
    std::wstring found;
    for (const std::wstring& piece : p->FindAll(text)) found += piece;
    EXPECT_TRUE(found == expected) << "trial " << trial << ": " << ranges.size() << " ranges";
  }
}

TEST(NarrowCopy, HexTakesTwoDigits) {
  EXPECT_TRUE(Pattern::MatchesStatic("\\x41BC", "ABC", 0));
  EXPECT_TRUE(Pattern::MatchesStatic("[^]", "\xFF", 0));
}

TEST(WideCopy, RangeBeyondUnicodeIsAnError) {
  std::wstring pattern = L"[a-";
  pattern += static_cast<wchar_t>(0x7FFFFFFF);
  pattern += L"]";
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Own(UPattern::Compile(pattern, 0)), nullptr);
  EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
}

TEST(WideCopy, NarrowAndWideGiveTheSameGroups) {
  const char* pattern = "(\\w+)-(\\d*)(x)?";
  const char* text = "abc-123";
  auto p = Own(Pattern::Compile(pattern, 0));
  auto u = Own(UPattern::Compile(Text<WideTraits>(pattern), 0));
  auto m = Own(p->CreateMatcher(text));
  auto um = Own(u->CreateMatcher(Text<WideTraits>(text)));
  ASSERT_TRUE(m->Matches());
  ASSERT_TRUE(um->Matches());
  EXPECT_EQ(m->GetGroups(true), NarrowAll<WideTraits>(um->GetGroups(true)));
}

TEST(WideCopy, NarrowAndWideErrorReportsInterleave) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Own(Pattern::Compile("a)", 0)), nullptr);
  EXPECT_EQ(Own(UPattern::Compile(L"b)", 0)), nullptr);
  EXPECT_EQ(Own(Pattern::Compile("c)", 0)), nullptr);
  const std::string meta = "Syntax Error near here. Possible unescaped meta character.\n";
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "a)\n ^\n" + meta + "b)\n ^\n" + meta + "c)\n ^\n" + meta);
}

TEST(WideCopy, ReportWritesNonAsciiPatternsAsUtf8) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Own(UPattern::Compile(L"\x4E2D)", 0)), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "\xE4\xB8\xAD)\n ^\nSyntax Error near here. Possible unescaped meta character.\n");
}

}  // namespace
