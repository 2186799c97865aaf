#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/base_cmp.h"
#include "component/run_command.h"
#include "component/split_text.h"
#include "component/text_convert.h"

namespace {

TEST(RunCommandTest, CapturesWholeStandardOutput) {
  const std::string longLine(1000, 'z');
  const std::pair<std::string, std::string> rows[] = {
      {"printf 'a\\nb'", "a\nb"},
      {"printf '" + longLine + "\\n" + longLine + "'", longLine + "\n" + longLine},
      {"printf 'x\\000y'", std::string("x\0y", 3)},
      {"true", ""},
      {"echo out; echo err >&2; exit 3", "out\n"},
  };
  for (const auto& row : rows) EXPECT_EQ(RunCommand(row.first), row.second) << row.first;
}

TEST(TextConvertTest, NarrowToWideStopsAtRejectedBytes) {
  EXPECT_EQ(NarrowToWide(""), L"");
  EXPECT_EQ(NarrowToWide("1f3a.4B21"), L"1f3a.4B21");
  // The program keeps the C locale, where bytes above 0x7F are rejected.
  EXPECT_EQ(NarrowToWide("ab\xC3\xA9"
                         "cd"),
            L"ab");
  EXPECT_EQ(NarrowToWide(nullptr), L"");
}

TEST(TextConvertTest, ByteWideningAndNarrowingRoundTrip) {
  const std::string bytes = std::string("A\x7F\x80\xFF", 4);
  std::wstring wide = WidenBytes(bytes);
  ASSERT_EQ(wide.size(), 4u);
  EXPECT_EQ(wide[0], L'A');
  EXPECT_EQ(wide[1], 0x7F);
  EXPECT_EQ(wide[2], -128);
  EXPECT_EQ(wide[3], -1);
  EXPECT_EQ(NarrowLowBytes(wide), bytes);
  EXPECT_EQ(NarrowLowBytes(std::wstring(1, static_cast<wchar_t>(0x1E9))), "\xE9");
}

TEST(TextConvertTest, ToUpper) {
  EXPECT_EQ(CBaseCmp::ToUpper(L"1f3a.4b21.abcd"), L"1F3A.4B21.ABCD");
  EXPECT_EQ(CBaseCmp::ToUpper(L""), L"");
}

// Tool output cut into lines: what the vendor discoveries read line by line.
TEST(SplitTextTest, CutsOutputIntoLines) {
  using Lines = std::vector<std::string>;
  const std::pair<std::string, Lines> rows[] = {
      {"", {}},
      {"\n", {""}},
      {"\n\n", {"", ""}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\nb", {"a", "b"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"\nb", {"", "b"}},
      {"a\r\nb\r\n", {"a\r", "b\r"}},
      {"\r", {"\r"}},
      {std::string("a\0b\n\0", 5), {std::string("a\0b", 3), std::string(1, '\0')}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SplitText(row.first, '\n'), row.second) << ::testing::PrintToString(row.first);
  }
}

}  // namespace
