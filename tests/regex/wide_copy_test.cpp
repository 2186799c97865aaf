// Where the wide copy differs from the narrow one: "\x" width, characters
// above 255, and class negation that stays within the codes 0 to 255.
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
