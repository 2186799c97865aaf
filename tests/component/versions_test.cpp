// Dotted version comparison and the split at the dots.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/base_cmp.h"
#include "component/vendors/dazudu.h"
#include "tests/component/scratch.h"

namespace {

struct VersionCase {
  const wchar_t* a;
  const wchar_t* b;
  int expected;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(std::wstring(c.a)) << " vs "
      << ::testing::PrintToString(std::wstring(c.b));
}

const VersionCase kVersionCases[] = {
    {L"10", L"9", 1},        // numeric, not textual
    {L"10a", L"9a", -1},     // text parts compare by code unit
    {L"1.2", L"1.2.0", -1},  // a proper prefix is older, even before zeros
    {L"1.2.0", L"1.2", 1},
    {L"01", L"1", 0},  // leading zeros carry no weight
    {L"2.00", L"2.0", 0},
    {L"1.2.", L"1.2", 0},     // the trailing empty piece is dropped
    {L"1..2", L"1.0.2", -1},  // an empty part is text, below "0"
    {L".5", L"0.5", -1},
    {L"", L"", 0},
    {L"", L"1", -1},
    {L"1", L"", 1},
    {L"A", L"a", -1},  // by code point
    {L"a", L"A", 1},
    {L"1.10", L"1.9", 1},
    {L"12.4.270.3", L"12.4.270.5", -1},
    {L"1a", L"1", 1},   // one side not all digits: text comparison
    {L"-1", L"1", -1},  // a sign is not a digit
    {L"+5", L"5", -1},
    {L" 5", L"5", -1},
    {L"\u0661", L"1", 1},  // a non-ASCII digit is text
    {L"2147483647", L"2147483646", 1},
    // Parts beyond 32 bits still compare by their numeric value.
    {L"2147483648", L"2147483647", 1},
    {L"4294967296", L"4294967295", 1},
    {L"99999999999", L"100000000000", -1},
    {L"1.99999999999999999999", L"1.99999999999999999998", 1},
    {L"00000000000000000000001", L"1", 0},
    {L"18446744073709551616", L"018446744073709551616", 0},
};

class CompareVersionsTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(CompareVersionsTest, GivesTheExpectedOrderBothWays) {
  const VersionCase& c = GetParam();
  EXPECT_EQ(CBaseCmp::CompareVersions(c.a, c.b), c.expected);
  EXPECT_EQ(CBaseCmp::CompareVersions(c.b, c.a), -c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, CompareVersionsTest, ::testing::ValuesIn(kVersionCases));

struct SplitCase {
  const wchar_t* text;
  std::vector<std::wstring> pieces;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(std::wstring(c.text));
}

class SplitStringTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitStringTest, KeepsInnerEmptyPiecesAndDropsATrailingOne) {
  EXPECT_EQ(CBaseCmp::SplitString(GetParam().text, L'.'), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(Table, SplitStringTest,
                         ::testing::Values(SplitCase{L"1..2", {L"1", L"", L"2"}},
                                           SplitCase{L"1.2.", {L"1", L"2"}},
                                           SplitCase{L".5", {L"", L"5"}}, SplitCase{L"", {}},
                                           SplitCase{L".", {L""}}, SplitCase{L"..", {L"", L""}},
                                           SplitCase{L"12.4.270.3", {L"12", L"4", L"270", L"3"}},
                                           SplitCase{L"abc", {L"abc"}}));

TEST(CompareVersionPartsTest, ComparesPartVectorsDirectly) {
  EXPECT_EQ(CBaseCmp::CompareVersionParts({}, {}), 0);
  EXPECT_EQ(CBaseCmp::CompareVersionParts({L"1"}, {L"1", L""}), -1);
  EXPECT_EQ(CBaseCmp::CompareVersionParts({L"", L"3"}, {L"", L"2"}), 1);
}

// The Dazudu form of NormalizeVersion keeps the text before the first blank.
TEST(NormalizeVersionTest, CutsAtTheFirstBlank) {
  Scratch scratch;
  DazuduComp::CComponent component;
  CBaseCmp& base = component;
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"1.2 build 5", L"1.2"}, {L"1.2", L"1.2"},       {L"", L""},        {L" 1.2", L""},
      {L"a  b", L"a"},          {L"1.2\t3", L"1.2\t3"}, {L"1.2 ", L"1.2"},
  };
  for (const auto& c : cases) EXPECT_EQ(base.NormalizeVersion(c.first), c.second) << c.first;
}

}  // namespace
