// The Zelvok component through the whole run sequence: the test entry
// program over the fake vendor library, a fake sysfs tree and the stand-in
// "qvzvfwupdate" utility in the working directory.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/vendor_install.h"

namespace {

using test_support::Transcript;
using vendore2e::Discovered;
using vendore2e::FileOf;

const std::string kUtilityOutput =
    "qvzvfwupdate: updating adapters\n"
    "qvzvfwupdate: progress on stderr\n"
    "qvzvfwupdate: progress on fd 3\n";

FakeHba::Adapter MakeAdapter(const std::string& wwn, uint16_t subsystemDevice, uint8_t bus) {
  FakeHba::Adapter a;
  a.name = "zelvok-fake-" + wwn;
  a.nodeWwn = "20" + wwn.substr(2);
  a.ports = {FakeHba::Port{wwn, {}}};
  a.vendorId = 0x1f3a;
  a.deviceId = 0x4b21;
  a.subsystemVendor = 0x1f3a;
  a.subsystemDevice = subsystemDevice;
  a.bus = bus;
  return a;
}

// Three adapters: the first fully known; the second's PCI device is missing
// from sysfs (short key, found by containment); the third is unreferenced.
FakeHba::Library ThreeAdapters() {
  FakeHba::Library library;
  library.adapters = {MakeAdapter("2100000e1e0a4b7c", 0x015d, 5),
                      MakeAdapter("2100000e1e0a4b7d", 0x0160, 6),
                      MakeAdapter("2100000e1e0a4b7e", 0x0999, 7)};
  return library;
}

// The query output: the first two adapters' instances (upper-case port
// names as the records carry them), the third instance in lower case.
const char* const kQuery =
    "HBA Instance : 0\n"
    "Flash Image Version : 1.08\n"
    "Port Name : 21-00-00-0E-1E-0A-4B-7C\n"
    "Model : ZV-2400\n"
    "\n"
    "HBA Instance : 1\n"
    "Flash Image Version : 1.10\n"
    "Port Name : 21-00-00-0E-1E-0A-4B-7D\n"
    "Model : ZV-2410\n"
    "\n"
    "HBA Instance : 2\n"
    "Flash Image Version : 0.90\n"
    "Port Name : 21-00-00-0e-1e-0a-4b-7e\n"
    "Model : ZV-2400\n"
    "\n";

std::string Reference(const std::string& firstBoot) {
  e2e::RefDevice first;
  first.device_id = "1f3a.4b21.1f3a.015d";
  first.model = "ZV-2400";
  first.boot = firstBoot;
  first.type = "FC-HBA";
  e2e::RefDevice second;
  second.device_id = "1F3A.4B21.1F3A.0160";
  second.model = "ZV-2410 \"dual\" & <fast>";
  second.boot = "1.10";
  second.duration = "90";
  return e2e::ReferenceXml({first, second});
}

class ZelvokRun : public ::testing::Test {
 protected:
  e2e::Scenario Scenario(const std::string& firstBoot = "1.10") {
    e2e::Scenario s;
    s.binary = vendore2e::ZelvokBinary();
    s.reference = Reference(firstBoot);
    install_.AddTo(s, ThreeAdapters(), "zelvok", "/usr/lib/libzvsdm.so", {1});
    s.copy_into_work = {{vendore2e::FixturePath("zelvok", "qvzvfwupdate"), "qvzvfwupdate"}};
    s.work_files = {{"query.txt", kQuery}};
    s.read_back = {"calls.txt"};
    return s;
  }

  vendore2e::Installation install_;
};

TEST_F(ZelvokRun, SelfDiscoveryFile) {
  e2e::Scenario s = Scenario("1.20");
  s.args = {"/d", "discovery.xml"};
  s.read_back.push_back("discovery.xml");
  E2E_RUN(o, s);
  vendore2e::ExpectSelfDiscovery(o, "zelvok");
  EXPECT_EQ(FileOf(o, "calls.txt"), "/q\n");
}

struct UpdateRow {
  const char* name;
  std::vector<std::string> args;
  std::string firstBoot;  // the reference boot version of the first adapter
  int updateRc;           // -1: the utility is not run
  std::string command;
  int exitCode;
};

void PrintTo(const UpdateRow& row, std::ostream* os) { *os << row.name; }

class ZelvokUpdate : public ZelvokRun, public ::testing::WithParamInterface<UpdateRow> {};

TEST_P(ZelvokUpdate, RunsTheUtilityAndMapsItsStatus) {
  const UpdateRow& row = GetParam();
  e2e::Scenario s = Scenario(row.firstBoot);
  s.args = row.args;
  if (row.updateRc >= 0) s.work_files.push_back({"update_rc", std::to_string(row.updateRc)});
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, row.exitCode) << o.err;

  Transcript expected = Discovered().NothingDone();
  std::string calls = "/q\n";
  if (row.updateRc >= 0) {
    expected = vendore2e::Flashed(row.command, kUtilityOutput, row.updateRc, row.exitCode);
    std::string args = row.command.substr(std::string("./qvzvfwupdate").size());
    if (!args.empty()) args.erase(0, 1);  // the blank before the first option
    calls += args + "\n";
  }
  const bool silent = row.command.find("/s") != std::string::npos;
  EXPECT_EQ(o.out, expected.Console(silent));
  EXPECT_EQ(o.log, expected.Log());
  EXPECT_EQ(FileOf(o, "calls.txt"), calls);
}

const UpdateRow kUpdateRows[] = {
    {"Success", {}, "1.10", 0, "./qvzvfwupdate", 1},
    {"NothingDone", {}, "1.10", 1, "./qvzvfwupdate", 3},
    {"Failure", {}, "1.10", 2, "./qvzvfwupdate", 7},
    {"PassedThrough", {}, "1.10", 12, "./qvzvfwupdate", 12},
    {"FourteenFails", {}, "1.10", 14, "./qvzvfwupdate", 7},
    {"Fifteen", {}, "1.10", 15, "./qvzvfwupdate", 15},
    {"HighCodePassedThrough", {}, "1.10", 200, "./qvzvfwupdate", 200},
    {"SilentAndForced", {"/s", "/f"}, "1.10", 0, "./qvzvfwupdate /s /f", 1},
    {"ForceDashG", {"-g"}, "1.10", 0, "./qvzvfwupdate /f", 1},
    // Every item a rewrite or downgrade: no flash without force.
    {"NoUpgradeNoFlash", {}, "1.08", -1, "", 3},
    {"NoUpgradeForced", {"/f"}, "1.08", 0, "./qvzvfwupdate /f", 1},
};

INSTANTIATE_TEST_SUITE_P(Codes, ZelvokUpdate, ::testing::ValuesIn(kUpdateRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ZelvokRun, NoAdapters) {
  e2e::Scenario s;
  s.binary = vendore2e::ZelvokBinary();
  s.reference = Reference("1.10");
  s.copy_into_work = {{vendore2e::FixturePath("zelvok", "qvzvfwupdate"), "qvzvfwupdate"}};
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 7) << o.err;
  const Transcript expected = Discovered().NoAdapters();
  EXPECT_EQ(o.out, expected.Console());
  EXPECT_EQ(o.log, expected.Log());
}

TEST_F(ZelvokRun, NoAdapterReferenced) {
  e2e::Scenario s = Scenario();
  e2e::RefDevice other;
  other.device_id = "aaaa.bbbb.cccc.dddd";
  other.type = "Other";
  s.reference = e2e::ReferenceXml({other});
  s.args = {"/f", "/d", "discovery.xml"};
  s.read_back.push_back("discovery.xml");
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 3) << o.err;
  EXPECT_EQ(FileOf(o, "discovery.xml"),
            "<?xml version=\"1.0\"?>\n"
            "<qv_rom_discovery version=\"2.0.0.0\">\n"
            "  <type value=\"Other\"/>\n"
            "  <alt_name value=\"\"/>\n"
            "  <version value=\"\"/>\n"
            "  <takes_effect value=\"\"/>\n"
            "  <devices/>\n"
            "</qv_rom_discovery>\n");

  s.args = {"/f"};
  E2E_RUN(forced, s);
  EXPECT_EQ(forced.exit_code, 3);
  EXPECT_EQ(forced.out, Discovered().NoHardware().Console());
}

TEST_F(ZelvokRun, MissingUtility) {
  // No query output: every referenced adapter shows no installed image, an
  // upgrade, and the update fails in the shell.
  e2e::Scenario s = Scenario();
  s.copy_into_work.clear();
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 127) << o.err;
  EXPECT_EQ(o.out, vendore2e::Flashed("./qvzvfwupdate", "", 127, 127).Console());
}

// The most adapters the inventory holds, and a query output of more
// instances than the tables hold: each adapter pairs with its own instance,
// the last one at index 63.
TEST_F(ZelvokRun, SixtyFourAdapters) {
  FakeHba::Library library;
  std::string query;
  for (int i = 0; i < 70; ++i) {
    char wwn[17];
    std::snprintf(wwn, sizeof wwn, "2100000e1e0a4b%02x", i);
    if (i < 64) {
      library.adapters.push_back(MakeAdapter(wwn, 0x015d, static_cast<uint8_t>(0x10 + i)));
    }
    char port[32];
    std::snprintf(port, sizeof port, "21-00-00-0E-1E-0A-4B-%02X", i);
    query += "HBA Instance : " + std::to_string(i) + "\nFlash Image Version : 1." +
             std::to_string(i) + "\nPort Name : " + port + "\nModel : ZV-2400\n\n";
  }
  e2e::Scenario s;
  s.binary = vendore2e::ZelvokBinary();
  s.reference = Reference("1.63");
  install_.AddTo(s, library, "zelvok", "/usr/lib/libzvsdm.so");
  s.copy_into_work = {{vendore2e::FixturePath("zelvok", "qvzvfwupdate"), "qvzvfwupdate"}};
  s.work_files = {{"query.txt", query}};
  s.args = {"/d", "discovery.xml"};
  s.read_back = {"discovery.xml"};
  E2E_RUN(o, s);
  EXPECT_EQ(o.exit_code, 3) << o.err;
  const std::string xml = FileOf(o, "discovery.xml");
  std::size_t devices = 0;
  for (std::size_t at = xml.find("<device>"); at != std::string::npos;
       at = xml.find("<device>", at + 1)) {
    ++devices;
  }
  EXPECT_EQ(devices, 64u);
  EXPECT_NE(xml.find("<active_version value=\"1.0\"/>"), std::string::npos);
  EXPECT_NE(xml.find("<active_version value=\"1.63\"/>\n        <action value=\"rewrite\"/>"),
            std::string::npos);
  EXPECT_EQ(xml.find("<active_version value=\"\"/>"), std::string::npos);
  EXPECT_LT(o.seconds, 20.0);
  std::printf("64 Zelvok adapters: self-discovery run took %.2f s\n", o.seconds);
}

}  // namespace
