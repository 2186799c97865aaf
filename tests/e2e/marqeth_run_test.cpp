// The Marqeth component through the whole run sequence: the test entry
// program over the fake vendor library and a fake sysfs tree, with the
// stand-in "mqu_bootupdate" utility and a boot image in the working directory.
#include <string>
#include <vector>

#include "tests/e2e/vendor_install.h"

namespace {

using test_support::Transcript;
using test_support::marqeth::kFlashCommand;
using vendore2e::Discovered;
using vendore2e::FileOf;

const std::string kUtilityOutput =
    "mqu_bootupdate: applying mqa_boot_fw\n"
    "mqu_bootupdate: progress on stderr\n"
    "mqu_bootupdate: progress on fd 3\n";

FakeHba::Adapter MakeAdapter(const std::string& optionRom, uint16_t subsystemDevice, uint8_t bus) {
  FakeHba::Adapter a;
  a.name = "marqeth-fake-" + std::to_string(bus);
  a.nodeWwn = "20000000c9a0b0" + std::to_string(10 + bus);
  a.ports = {FakeHba::Port{"10000000c9a0b0" + std::to_string(10 + bus), {}}};
  a.model = "MQ-8200";
  a.optionRom = optionRom;
  a.vendorId = 0x1f3a;
  a.deviceId = 0x4b21;
  a.subsystemVendor = 0x1F3A;
  a.subsystemDevice = subsystemDevice;
  a.bus = bus;
  return a;
}

// Four adapters; the third's PCI device is missing from sysfs, so its key is
// the short one; the fourth is unreferenced.
FakeHba::Library FourAdapters() {
  FakeHba::Library library;
  library.adapters = {MakeAdapter("BIOS 2.1.0.3", 0x015d, 5),
                      MakeAdapter("Version 3.0.3.0 build 5", 0x0160, 6),
                      MakeAdapter("1.0.0.0", 0x0170, 7), MakeAdapter("2.1.0.3", 0x0999, 8)};
  return library;
}

std::string Reference(const std::string& firstBios) {
  e2e::RefDevice first;
  first.device_id = "1f3a.4b21.1f3a.015d";
  first.model = "MQ-8200";
  first.bios = firstBios;
  first.type = "FC-BOOT";
  e2e::RefDevice second;
  second.device_id = "1F3A.4B21.1F3A.0160";
  second.model = "MQ-8210";
  second.bios = "3.0.3.0";
  second.duration = "45";
  e2e::RefDevice third;
  third.device_id = "1F3A.0170";
  third.model = "MQ-8220";
  third.bios = "1.0.0.0";
  return e2e::ReferenceXml({first, second, third});
}

class MarqethRun : public ::testing::Test {
 protected:
  e2e::Scenario Scenario(const std::string& firstBios) {
    e2e::Scenario s;
    s.binary = vendore2e::MarqethBinary();
    s.reference = Reference(firstBios);
    install_.AddTo(s, FourAdapters(), "marqeth", "/usr/lib/mqhbaapi.so", {2});
    s.copy_into_work = {{vendore2e::FixturePath("marqeth", "mqu_bootupdate"), "mqu_bootupdate"}};
    s.work_files = {{"mqa_boot_fw", "boot image\n"}};
    s.read_back = {"calls.txt"};
    return s;
  }

  vendore2e::Installation install_;
};

TEST_F(MarqethRun, SelfDiscoveryFile) {
  e2e::Scenario s = Scenario("2.1.0.4");
  s.args = {"/d", "discovery.xml"};
  s.read_back.push_back("discovery.xml");
  E2E_RUN(o, s);
  vendore2e::ExpectSelfDiscovery(o, "marqeth");
  EXPECT_EQ(FileOf(o, "calls.txt"), "<absent>");  // discovery runs no utility
}

// The library that serves the adapters is not Marqeth's: their PCI
// location comes from the Marqeth library at its fixed path, which lists the
// same adapters under its own names.
TEST_F(MarqethRun, PciLocationFromTheVendorLibraryAtItsFixedPath) {
  e2e::Scenario s;
  s.binary = vendore2e::MarqethBinary();
  s.reference = Reference("2.1.0.4");
  FakeHba::Library served = FourAdapters();
  FakeHba::Library vendor = FourAdapters();
  for (FakeHba::Adapter& a : vendor.adapters) a.name = "mq-" + a.name;
  // The serving library's own PCI records point nowhere.
  for (FakeHba::Adapter& a : served.adapters) {
    a.subsystemDevice = 0xffff;
    a.bus = 0x40;
  }
  install_.AddTo(s, served, "generic", "/usr/lib/libhbaapi.so");
  install_.AddLibrary(s, vendor, "/lib/cim/mqhbaapi.so");
  install_.AddSysfs(s, vendor, {2});
  s.args = {"/d", "discovery.xml"};
  s.read_back = {"discovery.xml"};
  E2E_RUN(o, s);
  vendore2e::ExpectSelfDiscovery(o, "marqeth");
}

struct UpdateRow {
  const char* name;
  std::vector<std::string> args;
  std::string firstBios;
  int updateRc;  // -1: the utility is not run
  bool withImage;
  int exitCode;
};

void PrintTo(const UpdateRow& row, std::ostream* os) { *os << row.name; }

class MarqethUpdate : public MarqethRun, public ::testing::WithParamInterface<UpdateRow> {};

TEST_P(MarqethUpdate, RunsTheUtilityAndMapsItsStatus) {
  const UpdateRow& row = GetParam();
  e2e::Scenario s = Scenario(row.firstBios);
  s.args = row.args;
  if (!row.withImage) s.work_files.clear();
  if (row.updateRc >= 0) s.work_files.push_back({"update_rc", std::to_string(row.updateRc)});
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, row.exitCode) << o.err;

  Transcript expected = Discovered().NothingDone();
  std::string calls = "<absent>";
  if (row.updateRc >= 0) {
    const int code = row.withImage ? row.updateRc : 2;  // the stand-in's missing-image code
    const std::string output = row.withImage ? kUtilityOutput : "mqu_bootupdate: no boot image\n";
    expected = vendore2e::Flashed(kFlashCommand, output, code, row.exitCode);
    calls = "boot --update mqa_boot_fw -a\n";
  }
  const bool silent = !row.args.empty() && row.args[0] == "/s";
  EXPECT_EQ(o.out, expected.Console(silent));
  EXPECT_EQ(o.log, expected.Log());
  EXPECT_EQ(FileOf(o, "calls.txt"), calls);
}

const UpdateRow kUpdateRows[] = {
    {"Success", {}, "2.1.0.4", 0, true, 1},
    {"Failure", {}, "2.1.0.4", 1, true, 7},
    {"HighCodeFails", {}, "2.1.0.4", 255, true, 7},
    {"MissingImageFails", {}, "2.1.0.4", 0, false, 7},
    {"SilentAndForcedSameCommand", {"/s", "/f"}, "2.1.0.4", 0, true, 1},
    // Every item a rewrite or downgrade: no flash without force.
    {"DowngradeNoFlash", {}, "2.1.0.2", -1, true, 3},
    {"DowngradeForced", {"-f"}, "2.1.0.2", 0, true, 1},
};

INSTANTIATE_TEST_SUITE_P(Codes, MarqethUpdate, ::testing::ValuesIn(kUpdateRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
