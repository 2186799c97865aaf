#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/base_cmp.h"
#include "tests/component/scratch.h"
#include "tests/support/transcript.h"

namespace {

const std::string kUsage = test_support::Transcript().Usage().Console();

struct ParseRow {
  const char* name;
  std::vector<const char*> argv;
  int result;
  bool silent;
  bool force;
  bool discoveryMode;
  const char* path;
};

void PrintTo(const ParseRow& row, std::ostream* os) { *os << row.name; }

const ParseRow kRows[] = {
    {"NoArguments", {"prog"}, 1, false, false, false, ""},
    {"SlashS", {"prog", "/s"}, 1, true, false, false, ""},
    {"DashS", {"prog", "-s"}, 1, true, false, false, ""},
    {"SlashF", {"prog", "/f"}, 1, false, true, false, ""},
    {"DashF", {"prog", "-f"}, 1, false, true, false, ""},
    {"SlashE", {"prog", "/e"}, 1, false, true, false, ""},
    {"DashE", {"prog", "-e"}, 1, false, true, false, ""},
    {"SlashG", {"prog", "/g"}, 1, false, true, false, ""},
    {"DashG", {"prog", "-g"}, 1, false, true, false, ""},
    {"SlashH", {"prog", "/h"}, 2, false, false, false, ""},
    {"DashH", {"prog", "-h"}, 2, false, false, false, ""},
    {"HelpStopsScan", {"prog", "/s", "/f", "/h", "/d"}, 2, true, true, false, ""},
    {"DashDashHelp", {"prog", "--help"}, 2, false, false, false, ""},
    {"SlashQuestion", {"prog", "/?"}, 2, false, false, false, ""},
    {"DashQuestion", {"prog", "-?"}, 2, false, false, false, ""},
    {"HelpWordStopsScan", {"prog", "/s", "-?", "/d"}, 2, true, false, false, ""},
    {"HelpWordTakenAsPath", {"prog", "/d", "--help"}, 1, false, false, true, "--help"},
    {"OtherHelpLikeWordsIgnored",
     {"prog", "-help", "/help", "--HELP", "?", "/??", "--h", "-H"},
     1,
     false,
     false,
     false,
     ""},
    {"DiscoveryLast", {"prog", "/s", "/d"}, 0, true, false, true, ""},
    {"DashDiscoveryLast", {"prog", "-d"}, 0, false, false, true, ""},
    {"DiscoveryPath", {"prog", "-d", "out.xml"}, 1, false, false, true, "out.xml"},
    {"DiscoveryThenSilent", {"prog", "/d", "out.xml", "/s"}, 1, true, false, true, "out.xml"},
    {"OptionTakenAsPath", {"prog", "/d", "/s"}, 1, false, false, true, "/s"},
    {"HelpTakenAsPath", {"prog", "/d", "/h"}, 1, false, false, true, "/h"},
    {"LaterPathWins", {"prog", "/d", "a.xml", "-d", "b.xml"}, 1, false, false, true, "b.xml"},
    {"OtherWordsIgnored",
     {"prog", "/S", "/F", "/H", "/D", "--s", "s", "/ss", ""},
     1,
     false,
     false,
     false,
     ""},
    {"ProgramNameExamined", {"/f"}, 1, false, true, false, ""},
};

class ParseCommandLineTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseCommandLineTest, SetsOptionsAndShowsUsageOnlyWhenAsked) {
  const ParseRow& row = GetParam();
  Scratch scratch;
  CBaseCmp component;
  testing::internal::CaptureStdout();
  int result = component.ParseCommandLine(static_cast<int>(row.argv.size()), row.argv.data());
  std::string out = testing::internal::GetCapturedStdout();

  EXPECT_EQ(result, row.result);
  EXPECT_EQ(component.silent, row.silent);
  EXPECT_EQ(component.log.IsQuiet(), row.silent);
  EXPECT_EQ(component.force, row.force);
  EXPECT_EQ(component.discoveryMode, row.discoveryMode);
  EXPECT_EQ(component.discoveryPath, row.path);
  EXPECT_EQ(out, row.result == 1 ? std::string() : kUsage);
  // The usage text never reaches the log file.
  EXPECT_EQ(scratch.ReadLog(), "");
}

INSTANTIATE_TEST_SUITE_P(Words, ParseCommandLineTest, ::testing::ValuesIn(kRows),
                         RowName<ParseRow>);

TEST(ConstructionTest, CreatesLogDirectoryAndFileAndClearsOptions) {
  Scratch scratch;
  CBaseCmp component;
  EXPECT_TRUE(FileExists(scratch.LogPath()));
  EXPECT_FALSE(component.silent);
  EXPECT_FALSE(component.discoveryMode);
  EXPECT_FALSE(component.force);
  EXPECT_TRUE(component.discoveryPath.empty());
  EXPECT_EQ(component.inventory.Count(), 0u);
  EXPECT_FALSE(component.HasDevices());
}

}  // namespace
