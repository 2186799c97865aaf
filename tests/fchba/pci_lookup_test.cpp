#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "fchba/pci_lookup.h"
#include "tests/fchba/scratch_root.h"

namespace {

using FakeHba::PciDevice;

TEST(PciLookupCommands, FindNamesTheSysfsRootAndTheLocationPattern) {
  FixedPaths::SetTestRoot("");
  EXPECT_EQ(PciCandidatesCommand(0, 5, 1),
            "find /sys -name subsystem_vendor | grep -i -e '0000:05:\\(\\w\\)*\\.1'");
  FixedPaths::SetTestRoot("/tmp/fchbaROOT");
  EXPECT_EQ(PciCandidatesCommand(0x12, 0xab, 7),
            "find /tmp/fchbaROOT/sys -name subsystem_vendor | grep -i -e '0012:ab:\\(\\w\\)*\\.7'");
  FixedPaths::SetTestRoot("");
  EXPECT_EQ(PciSubsystemMatchCommand("/d", 0x1a2b, 0x3c4d),
            "cat /d/subsystem_vendor /d/subsystem_device | grep -i -E '1a2b|3c4d' | wc -l");
  EXPECT_EQ(PciVendorDeviceCommand("/d"), "cat /d/vendor /d/device");
}

struct LookupCase {
  const char* what;
  std::vector<PciDevice> devices;
  uint8_t domain, bus, function;
  uint32_t subsystemVendor, subsystemDevice;
  const char* result;
};

void PrintTo(const LookupCase& c, std::ostream* out) { *out << c.what; }

class PciLookupTest : public ScratchRoot, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(PciLookupTest, FindsTheDevice) {
  const LookupCase& c = GetParam();
  FakeHba::MakeDirs(Path("/sys"));
  FakeHba::WriteSysfs(Path("/sys"), c.devices);
  EXPECT_EQ(
      LookupPciVendorDevice(c.domain, c.bus, c.function, c.subsystemVendor, c.subsystemDevice),
      c.result);
}

const PciDevice kDevice = {"0000:05:00.1", "0x1234", "0x5678", "0x1a2b", "0x3c4d"};

INSTANTIATE_TEST_SUITE_P(
    Trees, PciLookupTest,
    ::testing::Values(LookupCase{"with 0x", {kDevice}, 0, 5, 1, 0x1a2b, 0x3c4d, "12345678"},
                      LookupCase{"without 0x",
                                 {{"0000:05:00.1", "1234", "5678", "1a2b", "3c4d"}},
                                 0,
                                 5,
                                 1,
                                 0x1a2b,
                                 0x3c4d,
                                 "12345678"},
                      LookupCase{"upper-case ids",
                                 {{"0000:05:00.1", "0xABCD", "0x00EF", "0x1A2B", "0x3C4D"}},
                                 0,
                                 5,
                                 1,
                                 0x1a2b,
                                 0x3c4d,
                                 "abcd00ef"},
                      LookupCase{"any device number",
                                 {{"0000:05:1f.1", "0x1234", "0x5678", "0x1a2b", "0x3c4d"}},
                                 0,
                                 5,
                                 1,
                                 0x1a2b,
                                 0x3c4d,
                                 "12345678"},
                      LookupCase{"count of 1 passed over",
                                 {{"0000:05:00.1", "0x1111", "0x1111", "0x1a2b", "0x9999"},
                                  {"0000:05:01.1", "0x2222", "0x3333", "0x1a2b", "0x3c4d"}},
                                 0,
                                 5,
                                 1,
                                 0x1a2b,
                                 0x3c4d,
                                 "22223333"},
                      LookupCase{"other function", {kDevice}, 0, 5, 0, 0x1a2b, 0x3c4d, "N/A"},
                      LookupCase{
                          "other domain",
                          {{"0001:05:00.1", "0x4321", "0x8765", "0x1a2b", "0x3c4d"}, kDevice},
                          1,
                          5,
                          1,
                          0x1a2b,
                          0x3c4d,
                          "43218765"},
                      LookupCase{"no device", {}, 0, 5, 1, 0x1a2b, 0x3c4d, "N/A"},
                      LookupCase{"subsystem ids differ", {kDevice}, 0, 5, 1, 0x1a2b, 0x4444, "N/A"},
                      LookupCase{"device file empty",
                                 {{"0000:05:00.1", "0x1234", "", "0x1a2b", "0x3c4d"}},
                                 0,
                                 5,
                                 1,
                                 0x1a2b,
                                 0x3c4d,
                                 "N/A"}));

TEST_F(ScratchRoot, CandidateWithoutItsFilesIsPassedOver) {
  FakeHba::WriteSysfs(Path("/sys"), {kDevice});
  const std::string dir = Path("/sys/devices/pci0000:00/0000:05:00.1");
  for (const char* file : {"/device", "/vendor", "/subsystem_device"}) {
    FakeHba::WriteSysfs(Path("/sys"), {kDevice});
    std::remove((dir + file).c_str());
    EXPECT_EQ(LookupPciVendorDevice(0, 5, 1, 0x1a2b, 0x3c4d), "N/A") << file;
  }
}

TEST_F(ScratchRoot, DirectoryWithShellCharactersIsNotRun) {
  PciDevice device = kDevice;
  device.address = "0000:05:00.1;touch PWNED";
  FakeHba::WriteSysfs(Path("/sys"), {device});
  EXPECT_EQ(LookupPciVendorDevice(0, 5, 1, 0x1a2b, 0x3c4d), "N/A");
  struct stat status;
  EXPECT_NE(stat("PWNED", &status), 0);
}

TEST_F(ScratchRoot, LongDevicePathBeyondTheLineBufferIsFound) {
  const std::string parent = "/sys/devices/" + std::string(200, 'a') + "/" + std::string(200, 'b') +
                             "/" + std::string(200, 'c');
  FakeHba::WriteSysfs(Path(parent), {kDevice});
  EXPECT_EQ(LookupPciVendorDevice(0, 5, 1, 0x1a2b, 0x3c4d), "12345678");
}

}  // namespace
