// The linear reading of Dazudu adapter lines against the pattern engine:
// both must agree on whether a line matches and on every group.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dazudu_line.h"
#include "pattern.h"

namespace {

// What the pattern engine answers: the groups, or nothing (an empty vector).
std::vector<std::string> EngineGroups(const std::string& line) {
  std::unique_ptr<Pattern> pattern(Pattern::Compile(DazuduComp::kAdapterLinePattern, 4));
  if (!pattern) return {};
  std::unique_ptr<Matcher> matcher(pattern->CreateMatcher(line));
  return matcher->Matches() ? matcher->GetGroups(false) : std::vector<std::string>{};
}

std::vector<std::string> LinearGroups(const std::string& line) {
  std::vector<std::string> groups;
  return DazuduComp::ParseAdapterLine(line, groups) ? groups : std::vector<std::string>{};
}

const std::string kPlain =
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, "
    "Boot Code=UB5.12a5";

TEST(ParseAdapterLine, ReadsThePlainLine) {
  EXPECT_EQ(LinearGroups(kPlain), (std::vector<std::string>{"DZe12002-M8", "F100", "10DF", "F100", "10DF",
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

TEST(ParseAdapterLine, AgreesWithThePatternEngineOnTrickyLines) {
  for (const char* line : kTrickyLines) EXPECT_EQ(LinearGroups(line), EngineGroups(line)) << line;
  const std::string nul(1, '\0');
  const std::string binary = "HBA=A" + nul + "\xff, PCI ID=F1, VID=1, SSID=2, SVID=3, Firmware=\x80" + nul +
                             ", Boot Code=y" + nul;
  EXPECT_EQ(LinearGroups(binary), EngineGroups(binary));
  EXPECT_FALSE(LinearGroups(binary).empty());
}

// Long lines, on which the engine is still quick: commas in the model, and a
// long tail without field names.
TEST(ParseAdapterLine, AgreesWithThePatternEngineOnLongLines) {
  const std::string fields = kPlain.substr(kPlain.find(','));
  const std::string lines[] = {
      "HBA=" + std::string(2000, ',') + fields,
      "HBA=" + std::string(2000, 'M') + fields + std::string(2000, 'x'),
      kPlain + ", " + std::string(3000, ','),
      kPlain + std::string(3000, '.'),
  };
  for (const std::string& line : lines) {
    EXPECT_EQ(LinearGroups(line), EngineGroups(line)) << line.size();
    EXPECT_FALSE(LinearGroups(line).empty());
  }
}

// Random lines built from the pieces of adapter lines; a fixed seed keeps the
// run repeatable.
TEST(ParseAdapterLine, AgreesWithThePatternEngineOnRandomLines) {
  const char* const pieces[] = {"HBA=", "PCI ID=", "VID=", "SSID=", "SVID=", "Firmware=", "Boot Code=",
                                ",", ",", ", ", "A", "F1", "10DF", "12345", ".", "-", " ", "x.y"};
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> pick(0, sizeof(pieces) / sizeof(pieces[0]) - 1);
  std::uniform_int_distribution<int> count(1, 30);
  int matched = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string line = (i % 4 == 0) ? "" : "HBA=";
    for (int n = count(random); n > 0; --n) line += pieces[pick(random)];
    const std::vector<std::string> engine = EngineGroups(line);
    ASSERT_EQ(LinearGroups(line), engine) << line;
    matched += engine.empty() ? 0 : 1;
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
    const std::vector<std::string> engine = EngineGroups(line);
    ASSERT_EQ(LinearGroups(line), engine) << line;
    matched += engine.empty() ? 0 : 1;
  }
  EXPECT_GT(matched, 100);
}

}  // namespace
