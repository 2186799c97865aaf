// Staging for the end-to-end runs of the inventory-based components: the
// fake vendor HBA library with its adapters at a fixed library path inside
// the namespace, "/etc/hba.conf" naming it, and a fake sysfs tree of the
// adapters' PCI devices bound on /sys; plus the stand-in vendor utilities.
#ifndef TESTS_E2E_VENDOR_INSTALL_H
#define TESTS_E2E_VENDOR_INSTALL_H

#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/fixtures/fchba/fake_hba_kit.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/transcript.h"

namespace vendore2e {

// The test entry programs built beside the real executable.
std::string ZelvokBinary();
std::string MarqethBinary();

// A fixture file of tests/fixtures/<vendor>/.
std::string FixturePath(const std::string& vendor, const std::string& name);
std::string ReadFixture(const std::string& vendor, const std::string& name);

// What a run writes up to the end of discovery.
test_support::Transcript Discovered();

// A run that flashes after discovery: the utility's command, its own output
// (in the log alone), its code and the run's exit code.
test_support::Transcript Flashed(const std::string& command, const std::string& utilityOutput,
                                 int engineCode, int exitCode);

// A file read back from the working directory, or "<absent>".
std::string FileOf(const e2e::Outcome& outcome, const std::string& name);

// Checks a run with "/d discovery.xml": exit code 3, the transcript on the
// console and in the log, the file against
// tests/fixtures/<vendor>/discovery.xml byte for byte, and the run lock
// beside the log.
void ExpectSelfDiscovery(const e2e::Outcome& outcome, const std::string& vendor);

// Host-side staging files, removed with the object.
class Installation {
 public:
  // Puts the library at libraryPath inside the namespace, listed in
  // "/etc/hba.conf" as "<confName> TAB <libraryPath>", and binds a sysfs
  // tree holding the devices of the adapters whose index is not in
  // notInSysfs (their PCI lookup fails).
  void AddTo(e2e::Scenario& scenario, const FakeHba::Library& library, const std::string& confName,
             const std::string& libraryPath, const std::vector<std::size_t>& notInSysfs = {});

  // Puts one more copy of the library, with its own adapter table, at
  // libraryPath inside the namespace (a vendor library at its fixed path).
  void AddLibrary(e2e::Scenario& scenario, const FakeHba::Library& library,
                  const std::string& libraryPath);

  // Binds a sysfs tree holding the PCI devices of the library's adapters,
  // except those whose index is in notInSysfs.
  void AddSysfs(e2e::Scenario& scenario, const FakeHba::Library& library,
                const std::vector<std::size_t>& notInSysfs);

 private:
  test_support::ScratchDir dir_{"/tmp", "fchba"};
  int copies_ = 0;
};

}  // namespace vendore2e

#endif
