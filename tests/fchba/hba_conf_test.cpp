#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fchba/hba_conf.h"

namespace {

struct LineCase {
  const char* line;
  bool accepted;
  const char* name;
  const char* path;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << '"' << c.line << '"'; }

class HbaConfLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(HbaConfLineTest, Parses) {
  const LineCase& c = GetParam();
  HbaConfEntry entry;
  ASSERT_EQ(ParseHbaConfLine(c.line, &entry), c.accepted) << c.line;
  if (!c.accepted) return;
  EXPECT_EQ(entry.name, c.name);
  EXPECT_EQ(entry.path, c.path);
}

const std::string kLongName(70, 'n');
const std::string kPath255 = "/" + std::string(254, 'p');
const std::string kPath256 = "/" + std::string(255, 'p');
const std::string kLongNameLine = kLongName + "\t/lib/x.so";
const std::string kPath255Line = "lib\t" + kPath255;
const std::string kPath256Line = "lib\t" + kPath256;

INSTANTIATE_TEST_SUITE_P(
    Lines, HbaConfLineTest,
    ::testing::Values(
        LineCase{"zelvok /usr/lib64/libzvsdm-x86_64.so", true, "zelvok", "/usr/lib64/libzvsdm"},
        LineCase{"my lib\t/usr/lib/libmy.so", true, "my lib", "/usr/lib/libmy.so"},
        LineCase{"lib\t  \t /usr/lib/a.so  \n", true, "lib", "/usr/lib/a.so"},
        LineCase{"lib /usr/lib/a.so\n", true, "lib", "/usr/lib/a.so"},
        LineCase{"lib\t/usr/lib/a.so\tcomment", true, "lib", "/usr/lib/a.so"},
        LineCase{"lib\t/usr/lib/\xc3\xa9t\xc3\xa9.so", true, "lib", "/usr/lib/"},
        // The emptiness test comes before the filter.
        LineCase{"lib\t-dash.so", true, "lib", ""}, LineCase{"#lib\t/usr/lib/a.so", false, "", ""},
        LineCase{"  # lib", false, "", ""}, LineCase{" lib/usr/lib/a.so", false, "", ""},
        LineCase{"\n", false, "", ""}, LineCase{"", false, "", ""},
        LineCase{"libonly", false, "", ""}, LineCase{"lib\t", false, "", ""},
        LineCase{"lib \t  \n", false, "", ""}, LineCase{"\t/usr/lib/a.so", false, "", ""}));

TEST(HbaConfLine, LongNameIsCutTo63Characters) {
  HbaConfEntry entry;
  ASSERT_TRUE(ParseHbaConfLine(kLongNameLine, &entry));
  EXPECT_EQ(entry.name, std::string(63, 'n'));
}

TEST(HbaConfLine, PathOf255FitsAndOf256IsDropped) {
  HbaConfEntry entry;
  ASSERT_TRUE(ParseHbaConfLine(kPath255Line, &entry));
  EXPECT_EQ(entry.path, kPath255);
  EXPECT_FALSE(ParseHbaConfLine(kPath256Line, &entry));
}

TEST(HbaConfLine, TextEndsAtNulByte) {
  HbaConfEntry entry;
  EXPECT_FALSE(ParseHbaConfLine(std::string("lib\0\t/usr/lib/a.so", 17), &entry));
}

TEST(HbaConfReader, SplitsAtNewlinesAndReadsLongLinesWhole) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  // Far longer than any line buffer; its tail looks like an entry of its own.
  const std::string longLine = "a\t/x " + std::string(70000, 'y') + " b\t/tail.so";
  const std::string text = "one\t/1.so\n" + longLine + "\n\nlast\t/2.so";
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);

  std::string line;
  ASSERT_TRUE(ReadHbaConfLine(file, &line));
  EXPECT_EQ(line, "one\t/1.so");
  ASSERT_TRUE(ReadHbaConfLine(file, &line));
  EXPECT_EQ(line, longLine);
  HbaConfEntry entry;
  ASSERT_TRUE(ParseHbaConfLine(line, &entry));
  EXPECT_EQ(entry.name, "a");
  EXPECT_EQ(entry.path, "/x");
  ASSERT_TRUE(ReadHbaConfLine(file, &line));
  EXPECT_EQ(line, "");
  ASSERT_TRUE(ReadHbaConfLine(file, &line));
  EXPECT_EQ(line, "last\t/2.so");
  EXPECT_FALSE(ReadHbaConfLine(file, &line));
  std::fclose(file);
}

}  // namespace
