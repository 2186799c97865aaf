// The shorthand classes ("\d", "\s", "\w" and their inverses) and the dot
// hold exactly their members, character by character: outside brackets, in
// brackets and ignoring case, on both copies.
#include <cstring>
#include <string>

#include "tests/regex/regex_test_util.h"

namespace {

const char* const kDigits = "0123456789";
const char* const kSpaces = " \t\r\n\f";
const char* const kWord = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";

bool In(const char* members, unsigned code) {
  return code != 0 && code < 128 && std::strchr(members, static_cast<int>(code)) != nullptr;
}

// The codes tried: every code below 256, and in the wide copy some above.
std::vector<unsigned> Codes(bool wide) {
  std::vector<unsigned> codes;
  for (unsigned c = 0; c < 256; ++c) codes.push_back(c);
  if (wide) codes.insert(codes.end(), {0x100u, 0x130u, 0x660u, 0x212Au, 0xFF10u, 0x10FFFFu});
  return codes;
}

template <class T>
bool MatchesCode(const std::string& pattern, unsigned code, unsigned long flags) {
  typename T::String text(1, static_cast<typename T::Char>(code));
  return BasicPattern<T>::MatchesStatic(Text<T>(pattern), text, flags);
}

template <class T>
class ClassMembersTest : public ::testing::Test {};
TYPED_TEST_SUITE(ClassMembersTest, BothCopies);

TYPED_TEST(ClassMembersTest, ShorthandClassesHoldTheirMembers) {
  const bool wide = sizeof(typename TypeParam::Char) > 1;
  const struct {
    const char* escape;
    const char* members;
    bool inverted;
  } cases[] = {
      {"\\d", kDigits, false}, {"\\D", kDigits, true}, {"\\s", kSpaces, false},
      {"\\S", kSpaces, true},  {"\\w", kWord, false},  {"\\W", kWord, true},
  };
  for (const auto& c : cases) {
    for (unsigned code : Codes(wide)) {
      const bool member = In(c.members, code) != c.inverted;
      SCOPED_TRACE(std::string(c.escape) + " code " + std::to_string(code));
      EXPECT_EQ(MatchesCode<TypeParam>(c.escape, code, 0), member);
      // In brackets an inverse is a negation within the codes 0 to 255.
      EXPECT_EQ(MatchesCode<TypeParam>(std::string("[") + c.escape + "]", code, 0),
                member && code < 256);
      // Ignoring case: the ASCII letters stand for both of their cases.
      if (code < 128) {
        const unsigned other = (code >= 'A' && code <= 'Z')   ? code + 32
                               : (code >= 'a' && code <= 'z') ? code - 32
                                                              : code;
        const bool either = (In(c.members, code) || In(c.members, other)) != c.inverted;
        EXPECT_EQ(MatchesCode<TypeParam>(c.escape, code, 1), either);
      }
    }
  }
}

TYPED_TEST(ClassMembersTest, TheDotExcludesTheLineEndsOfItsMode) {
  const bool wide = sizeof(typename TypeParam::Char) > 1;
  const struct {
    unsigned long flags;
    bool newLine, carriageReturn;  // whether the dot matches them
  } cases[] = {{0, false, false}, {4, true, true}, {16, false, true}, {20, true, true}};
  for (const auto& c : cases) {
    for (unsigned code : Codes(wide)) {
      const bool expected = code == '\n' ? c.newLine : code == '\r' ? c.carriageReturn : true;
      SCOPED_TRACE("flags " + std::to_string(c.flags) + " code " + std::to_string(code));
      EXPECT_EQ(MatchesCode<TypeParam>(".", code, c.flags), expected);
    }
  }
}

}  // namespace
