#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fchba/attribute_clean.h"

namespace {

struct CleanCase {
  std::string in;
  std::string out;
};

void PrintTo(const CleanCase& c, std::ostream* out) { *out << '"' << c.in << '"'; }

class CleanAttributeStringTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanAttributeStringTest, Cleans) {
  char field[64];
  std::memset(field, 'X', sizeof(field));
  std::memcpy(field, GetParam().in.c_str(), GetParam().in.size() + 1);
  CleanAttributeString(field, sizeof(field));
  EXPECT_EQ(std::string(field), GetParam().out);
  // The rest of the original text is zero-filled.
  for (std::size_t i = GetParam().out.size(); i < GetParam().in.size(); ++i) EXPECT_EQ(field[i], 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, CleanAttributeStringTest,
                         ::testing::Values(CleanCase{"ABC  Dual   Port~~  ", "ABC Dual Port"},
                                           CleanCase{" ", " "}, CleanCase{"    ", " "},
                                           CleanCase{"", ""}, CleanCase{"Q\t\r\n\x01", "Q"},
                                           CleanCase{"  lead  x", " lead x"},
                                           CleanCase{"a\tb\t", "a\tb"},
                                           CleanCase{"ok}~\x7f\xc3\xa9", "ok}"},
                                           CleanCase{"!", "!"}, CleanCase{"v1.0 ", "v1.0"}));

TEST(CleanAttributeString, UnterminatedFieldStaysInside) {
  char field[8];
  std::memset(field, 'A', sizeof(field));
  CleanAttributeString(field, sizeof(field));
  EXPECT_EQ(std::string(field), "AAAAAAA");
}

}  // namespace
