// The test entry programs run the program's own entry with the Zelvok and the
// Marqeth component: the command line, the process set-up (the file-creation
// mask) and the run lock are those of the shipped program.
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/vendor_install.h"

namespace {

using test_support::Transcript;

struct EntryRow {
  const char* name;
  std::vector<std::string> args;
  Transcript transcript;
  int exitCode;
  const char* made;  // the modes and names in /var/vdl afterwards
};

void PrintTo(const EntryRow& row, std::ostream* os) { *os << row.name; }

const EntryRow kEntryRows[] = {
    {"Usage", {"--help"}, Transcript().Usage(), 3, "755 .\n644 Component.log\n"},
    {"ParseError", {"/s", "/d"}, Transcript().ParseError(), 7, "755 .\n644 Component.log\n"},
    // No vendor library: the run ends at discovery, with the lock taken.
    {"Run",
     {},
     vendore2e::Discovered().NoAdapters(),
     7,
     "755 .\n644 Component.log\n600 fc-hba-update.lock\n"},
};

struct Entry {
  const char* name;
  std::string (*binary)();
};

void PrintTo(const Entry& entry, std::ostream* os) { *os << entry.name; }

const Entry kEntries[] = {{"Zelvok", vendore2e::ZelvokBinary},
                          {"Marqeth", vendore2e::MarqethBinary}};

class VendorEntry : public ::testing::TestWithParam<std::tuple<Entry, EntryRow>> {};

TEST_P(VendorEntry, IsTheProgramsOwn) {
  const Entry& entry = std::get<0>(GetParam());
  const EntryRow& row = std::get<1>(GetParam());
  e2e::Scenario s;
  s.binary = entry.binary();
  s.args = row.args;
  s.reference = e2e::kEmptyReference;
  s.umask = "000";
  s.probe = "cd /var/vdl && stat -c '%a %n' . *";
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, row.exitCode) << o.err;
  EXPECT_EQ(o.out, row.transcript.Console());
  EXPECT_EQ(o.log, row.transcript.Log());
  EXPECT_EQ(o.probe, row.made);
}

INSTANTIATE_TEST_SUITE_P(Programs, VendorEntry,
                         ::testing::Combine(::testing::ValuesIn(kEntries),
                                            ::testing::ValuesIn(kEntryRows)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  std::get<1>(info.param).name;
                         });

}  // namespace
