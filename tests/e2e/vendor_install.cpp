#include "tests/e2e/vendor_install.h"

#include <algorithm>

#include "tests/support/files.h"

namespace vendore2e {

std::string ZelvokBinary() { return VENDOR_ZELVOK_BINARY; }
std::string MarqethBinary() { return VENDOR_MARQETH_BINARY; }

std::string FixturePath(const std::string& vendor, const std::string& name) {
  return std::string(VENDOR_FIXTURES_DIR) + "/" + vendor + "/" + name;
}

std::string ReadFixture(const std::string& vendor, const std::string& name) {
  return test_support::ReadFile(FixturePath(vendor, name));
}

test_support::Transcript Discovered() { return test_support::Transcript().Begin().Loaded(); }

test_support::Transcript Flashed(const std::string& command, const std::string& utilityOutput,
                                 int engineCode, int exitCode) {
  return Discovered()
      .FlashBegins()
      .Engine(command, utilityOutput, engineCode)
      .FlashComplete(exitCode);
}

std::string FileOf(const e2e::Outcome& outcome, const std::string& name) {
  const auto found = outcome.files.find(name);
  return found == outcome.files.end() ? "<absent>" : found->second;
}

void ExpectSelfDiscovery(const e2e::Outcome& outcome, const std::string& vendor) {
  EXPECT_EQ(outcome.exit_code, 3) << outcome.err;
  const test_support::Transcript transcript = Discovered().SelfDiscovery();
  EXPECT_EQ(outcome.out, transcript.Console());
  EXPECT_EQ(outcome.log, transcript.Log());
  EXPECT_EQ(FileOf(outcome, "discovery.xml"), ReadFixture(vendor, "discovery.xml"));
  EXPECT_EQ(outcome.var_vdl, "Component.log\nfc-hba-update.lock\n");
}

void Installation::AddTo(e2e::Scenario& scenario, const FakeHba::Library& library,
                         const std::string& confName, const std::string& libraryPath,
                         const std::vector<std::size_t>& notInSysfs) {
  AddLibrary(scenario, library, libraryPath);
  scenario.root_files.push_back({"/etc/hba.conf", confName + "\t" + libraryPath + "\n"});
  AddSysfs(scenario, library, notInSysfs);
}

void Installation::AddLibrary(e2e::Scenario& scenario, const FakeHba::Library& library,
                              const std::string& libraryPath) {
  const std::string staged = dir_.path() + "/lib" + std::to_string(copies_++) + "/library.so";
  FakeHba::InstallLibrary(staged, library);
  scenario.root_copies.push_back({libraryPath, staged});
  scenario.root_copies.push_back({libraryPath + ".ini", staged + ".ini"});
}

void Installation::AddSysfs(e2e::Scenario& scenario, const FakeHba::Library& library,
                            const std::vector<std::size_t>& notInSysfs) {
  std::vector<FakeHba::PciDevice> devices;
  for (std::size_t i = 0; i < library.adapters.size(); ++i) {
    if (std::find(notInSysfs.begin(), notInSysfs.end(), i) == notInSysfs.end()) {
      devices.push_back(FakeHba::DeviceOf(library.adapters[i]));
    }
  }
  FakeHba::MakeDirs(dir_.path() + "/sys");
  FakeHba::WriteSysfs(dir_.path() + "/sys", devices);
  scenario.sys_tree = dir_.path() + "/sys";
}

}  // namespace vendore2e
