// The Dazudu adapter-line pattern on tricky, long and random lines: the
// groups are the greedy match's, and the same whether the engine remembers
// failed positions from the first step, from its usual threshold, or never.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "component/vendors/dazudu.h"
#include "regex/pattern.h"
#include "regex/regex_limits.h"
#include "tests/support/dazudu_adapter_line.h"

namespace {

// The groups of a whole-line match, or nothing (an empty vector), with
// remembering starting after the given number of steps.
std::vector<std::string> GroupsAfter(const std::string& line, long long rememberAfter) {
  RegexLimits::ScopedTestLimits limits(rememberAfter);
  std::unique_ptr<Pattern> pattern(Pattern::Compile(DazuduComp::kAdapterLinePattern, 4));
  std::unique_ptr<Matcher> matcher(pattern->CreateMatcher(line));
  std::vector<std::string> groups =
      matcher->Matches() ? matcher->GetGroups(false) : std::vector<std::string>{};
  return groups;
}

// The groups as the program gets them, after checking that remembering from
// the first step and never remembering give the same.
std::vector<std::string> Groups(const std::string& line) {
  const std::vector<std::string> shipped = GroupsAfter(line, RegexLimits::kRememberAfterSteps);
  EXPECT_EQ(GroupsAfter(line, 0), shipped) << line.substr(0, 200);
  EXPECT_EQ(GroupsAfter(line, RegexLimits::kNeverRemember), shipped) << line.substr(0, 200);
  return shipped;
}

const std::string kPlain =
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, "
    "Boot Code=UB5.12a5";

TEST(AdapterLine, ReadsThePlainLine) {
  EXPECT_EQ(Groups(kPlain), (std::vector<std::string>{"DZe12002-M8", "F100", "10DF", "F100", "10DF",
                                                      "US2.82A4", "UB5.12a5"}));
}

// Lines where the greedy choices matter: repeated field names, names inside
// other names, commas inside groups, workable and unworkable occurrences.
const char* const kTrickyLines[] = {
    "HBA=A, Port=1, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
    "HBA=A, PCI ID=F1, PCI ID=F2, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, PCI ID=F2, Firmware=x, Boot Code=y",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y, Boot Code=-",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y, Boot Code=z",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, y, z, Boot Code=w",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Firmware=y, Boot Code=w",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=,, Boot Code=w",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=, Boot Code=w",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3,Firmware=x,Boot Code=w",
    "HBA=A, PCI ID=F1, VID=12345, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, VID=4, Firmware=x, Boot Code=y",
    "HBA=A, PCI ID=F1, SVID=3, SSID=2, Firmware=x, Boot Code=y",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=.5",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=_",
    "HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y\r",
    "HBA=,, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
    "HBA=, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
    "HBA=A,PCI ID=F1,VID=1,SSID=2,SVID=3,Firmware=x,Boot Code=y",
    "HBA=A, PCI ID=F1,, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
    "HBA=A, PCI ID=F1 , VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
    "HBA=A, PCI ID=ABCD, VID=ABCDE, VID=ABCD, SSID=2, SVID=3, Firmware=x, Boot Code=y",
    "HBA=HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
    "HBA=A",
    "HBA=",
    "",
    ",",
};

// Each field takes the latest occurrence from which the rest still matches.
TEST(AdapterLine, GreedyChoicesOnTrickyLines) {
  const struct {
    const char* line;
    std::vector<std::string> groups;
  } cases[] = {
      {"HBA=A, PCI ID=F1, PCI ID=F2, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
       {"A, PCI ID=F1", "F2", "1", "2", "3", "x", "y"}},
      {"HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, y, z, Boot Code=w",
       {"A", "F1", "1", "2", "3", "x, y, z", "w"}},
      {"HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y, Boot Code=z",
       {"A", "F1", "1", "2", "3", "x, Boot Code=y", "z"}},
      {"HBA=A, PCI ID=F1, VID=12345, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=y",
       {"A", "F1", "1", "2", "3", "x", "y"}},
      {"HBA=A, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=x, Boot Code=-", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Groups(c.line), c.groups) << c.line;
  for (const char* line : kTrickyLines) Groups(line);
  const std::string nul(1, '\0');
  const std::string binary = "HBA=A" + nul +
                             "\xff, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=\x80" + nul +
                             ", Boot Code=y" + nul;
  EXPECT_FALSE(Groups(binary).empty());
}

// Long lines, long enough for the engine to start remembering: commas in the
// model, and a long tail without field names.
TEST(AdapterLine, LongLines) {
  const std::string fields = kPlain.substr(kPlain.find(','));
  const std::string lines[] = {
      "HBA=" + std::string(2000, ',') + fields,
      "HBA=" + std::string(2000, 'M') + fields + std::string(2000, 'x'),
      kPlain + ", " + std::string(3000, ','),
      kPlain + std::string(3000, '.'),
  };
  for (const std::string& line : lines) EXPECT_FALSE(Groups(line).empty()) << line.size();
}

// Random lines built from the pieces of adapter lines; a fixed seed keeps the
// run repeatable.
TEST(AdapterLine, RandomLines) {
  const char* const pieces[] = {
      "HBA=", "PCI ID=", "VID=", "SSID=", "SVID=", "Firmware=", "Boot Code=", ",", ",",
      ", ",   "A",       "F1",   "10DF",  "12345", ".",         "-",          " ", "x.y"};
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> pick(0, sizeof(pieces) / sizeof(pieces[0]) - 1);
  std::uniform_int_distribution<int> count(1, 30);
  int matched = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string line = (i % 4 == 0) ? "" : "HBA=";
    for (int n = count(random); n > 0; --n) line += pieces[pick(random)];
    matched += Groups(line).empty() ? 0 : 1;
  }
  // Random lines rarely hold every field in order; these do, with values and
  // junk that sometimes spoil one.
  const char* const values[] = {"F1", "10DF", "A_1", "12345", "", "2.82A4", "-", "x,y"};
  std::uniform_int_distribution<int> value(0, sizeof(values) / sizeof(values[0]) - 1);
  for (int i = 0; i < 6000; ++i) {
    std::string line = "HBA=";
    line += values[value(random)];
    for (const char* field : {"PCI ID=", "VID=", "SSID=", "SVID=", "Firmware=", "Boot Code="}) {
      if (count(random) <= 3) line += pieces[pick(random)];
      line += std::string(", ") + field + values[value(random)];
    }
    if (count(random) <= 10) line += pieces[pick(random)];
    matched += Groups(line).empty() ? 0 : 1;
  }
  EXPECT_GT(matched, 100);
}

// The engine's suites and the benchmark, which do not link the component,
// take the pattern from tests/support: it must stay the program's own.
TEST(AdapterLine, TheSuitesShareTheProgramsPattern) {
  EXPECT_STREQ(test_support::kDazuduAdapterLine, DazuduComp::kAdapterLinePattern);
}

}  // namespace
