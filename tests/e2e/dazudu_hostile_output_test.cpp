// Dazudu discovery on hostile engine output: long, binary and almost
// matching lines. Each run must end with the same self-discovery file as
// the plain case it is built around, quickly and without a crash.
#include <iostream>

#include "tests/e2e/dazudu_cases.h"

namespace {

using dazudu_cases::CaseFile;

// The one line that names a known adapter (the "dze120_split" case).
const std::string kValidLine =
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, "
    "Boot Code=UB5.12a5";

// Lines with every field of an adapter line but one wrong.
const char* const kAlmostMatching[] = {
    "DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot "
    "Code=UB5.12a5",
    " HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot "
    "Code=UB5.12a5",
    "HBA=, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F1000, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot "
    "Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot "
    "Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F1-0, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot "
    "Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F100, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SVID=10DF, Firmware=US2.82A4, Boot Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, Firmware=US2.82A4, Boot Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF Firmware=US2.82A4, Boot "
    "Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Boot Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=, Boot Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4",
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot Code=",
    "HBA=DZe12002-M8, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot Code=-5",
    "HBA=DZe12002-M8, pci id=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot "
    "Code=UB5.12a5",
    "HBA=DZe12002-M8, VID=10DF, PCI ID=F100, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot "
    "Code=UB5.12a5",
    "HBA=DZe12002-M8, PCI ID=F1\x01"
    "0, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot Code=UB5.12a5",
};

std::string AlmostMatchingLines() {
  std::string text;
  for (const char* line : kAlmostMatching) text += std::string(line) + "\n";
  return text;
}

std::string TenThousandLines() {
  std::string text;
  const std::size_t kinds = sizeof(kAlmostMatching) / sizeof(kAlmostMatching[0]);
  for (int i = 0; i < 9999; ++i) text += std::string(kAlmostMatching[i % kinds]) + "\n";
  return text + kValidLine + "\n";
}

const std::size_t kMegabyte = 1 << 20;

// A megabyte of text that holds every field name, repeated, but no "Boot
// Code=", so no whole-line match can exist.
std::string MegabyteOfFieldNames() {
  const std::string piece = "PCI ID=1, VID=2, SSID=3, SVID=4, Firmware=5, ";
  std::string line = "HBA=x, ";
  while (line.size() < kMegabyte) line += piece;
  return line;
}

std::string WithNulAndHighBytes() {
  std::string high;
  for (int byte = 0x80; byte <= 0xFF; ++byte) high.push_back(static_cast<char>(byte));
  const std::string nul(1, '\0');
  return nul + "\n" + high + "\n" + "HBA=DZe12002-M8" + high + nul +
         ", PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=US2.82A4, Boot Code=UB5.12a5," +
         nul + high + "\n" + "HBA=" + nul + ", PCI ID=F1" + nul + "0, VID=10DF\n";
}

// The valid line followed by field names that never lead to a second boot
// code: the worst kind of line for a backtracking match.
std::string WithCraftedTail(std::size_t length) {
  std::string line = kValidLine;
  while (line.size() + 45 <= length) line += ", PCI ID=1, VID=2, SSID=3, SVID=4, Firmware=5";
  return line;
}

std::string Repeated(const std::string& line, int copies) {
  std::string text;
  for (int i = 0; i < copies; ++i) text += line + "\n";
  return text;
}

// The expected self-discovery file of a case with its one device repeated.
std::string ExpectedWithCopies(const char* caseName, int copies) {
  const std::string single = CaseFile(caseName, "expected.xml");
  const std::size_t from = single.find("    <device>");
  const std::size_t to = single.find("  </devices>");
  if (copies == 1 || from == std::string::npos || to == std::string::npos) return single;
  std::string devices;
  for (int i = 0; i < copies; ++i) devices += single.substr(from, to - from);
  return single.substr(0, from) + devices + single.substr(to);
}

struct HostileOutput {
  const char* name;
  std::string (*build)();
  const char* expectedCase;  // the case whose self-discovery file must result
  int copies;                // how many times its device is found
};

const HostileOutput kHostileOutputs[] = {
    {"TenThousandLines", TenThousandLines, "dze120_split", 1},
    {"MegabyteLineBeforeValidLine",
     [] { return std::string(kMegabyte, 'x') + "\n" + kValidLine + "\n"; }, "dze120_split", 1},
    {"MegabyteLineOfCommas", [] { return "HBA=" + std::string(kMegabyte, ',') + "\n"; }, "no_match",
     1},
    {"MegabyteLineOfFieldNames", [] { return MegabyteOfFieldNames() + "\n" + kValidLine + "\n"; },
     "dze120_split", 1},
    {"MegabyteModelName",
     [] {
       return "HBA=DZe12002" + std::string(kMegabyte, 'M') +
              kValidLine.substr(kValidLine.find(',')) + "\n";
     },
     "dze120_split", 1},
    {"NulAndHighBytes", WithNulAndHighBytes, "dze120_split", 1},
    {"CarriageReturnLineEnds",
     [] { return "Dazudu engine\r\n\r\n" + kValidLine + "\r\n" + "No more adapters.\r\n"; },
     "dze120_split", 1},
    {"AlmostMatchingLines", AlmostMatchingLines, "no_match", 1},
    {"TenThousandAdapterLines", [] { return Repeated(kValidLine, 10000); }, "dze120_split", 10000},
    {"TenThousandCraftedLines", [] { return Repeated(WithCraftedTail(256), 10000); },
     "dze120_split", 10000},
    {"MegabyteCraftedLine", [] { return WithCraftedTail(kMegabyte) + "\n"; }, "dze120_split", 1},
    {"NoLineEndAtAll", [] { return kValidLine; }, "dze120_split", 1},
};

// The program's own limit is "well under a minute" in a normal build; a
// sanitizer build runs the same work several times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSlowdown = 4.0;
#else
constexpr double kSlowdown = 1.0;
#endif

void PrintTo(const HostileOutput& output, std::ostream* os) { *os << output.name; }

class DazuduHostileOutput : public ::testing::TestWithParam<HostileOutput> {};

TEST_P(DazuduHostileOutput, EndsWithThePlainResultQuickly) {
  const HostileOutput& hostile = GetParam();
  e2e::Scenario s = dazudu_cases::KitScenario(hostile.build());
  s.args = {"/d", "out.xml"};
  s.read_back = {"out.xml"};
  s.timeout_seconds = static_cast<int>(60 * kSlowdown);
  E2E_RUN(o, s);

  EXPECT_FALSE(o.timed_out);
  EXPECT_EQ(o.exit_code, 3) << o.err.substr(0, 2000);
  EXPECT_EQ(o.out, dazudu_cases::Discovered().SelfDiscovery().Console());
  EXPECT_EQ(dazudu_cases::FileOf(o, "out.xml"),
            ExpectedWithCopies(hostile.expectedCase, hostile.copies));
  EXPECT_LT(o.seconds, 30.0 * kSlowdown);
  std::cout << "[ timing   ] " << hostile.name << ": " << o.seconds << " s\n";
  RecordProperty("seconds", std::to_string(o.seconds));
}

INSTANTIATE_TEST_SUITE_P(Outputs, DazuduHostileOutput, ::testing::ValuesIn(kHostileOutputs),
                         [](const ::testing::TestParamInfo<HostileOutput>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
