// The scan with the shipped fixed paths (/etc/hba.conf, find /sys), run in a
// private mount namespace (as root, or in a user namespace) where /etc is an
// overlay and /sys a fake tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/private_namespace.h"
#include "tests/fchba/scratch_root.h"

namespace {

using ShippedPathsTest = ScratchRoot;

int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ShippedPathsTest, ScanReadsTheRealRegistryAndSysfsInsideANamespace) {
  // The test root only places the scratch files; the probe uses the real paths.
  FixedPaths::SetTestRoot("");
  E2E_REQUIRE_NAMESPACE();
  FakeHba::Library library = AdapterLibrary(2);
  library.adapters[1].ports.clear();
  FakeHba::BuildInstallation(root_, library);
  FakeHba::MakeDirs(root_ + "/up");
  FakeHba::MakeDirs(root_ + "/work");
  const std::string script = "mount -t overlay overlay -o lowerdir=/etc,upperdir=" + root_ +
                             "/up,workdir=" + root_ + "/work /etc && cp " + root_ +
                             "/etc/hba.conf /etc/hba.conf && mount --bind " + root_ +
                             "/sys /sys && exec " + INVENTORY_PROBE;
  const int rc = Shell(e2e::UnshareCommand() + " sh -c '" + script + "' > " + root_ + "/out 2> " +
                       root_ + "/err");
  const std::string err = test_support::ReadFile(root_ + "/err");
  if (rc != 0 && err.find("mount") != std::string::npos) {
    const std::string reason =
        "mounts refused inside the namespace (" + e2e::ProbePrivateNamespace().how + "): " + err;
    e2e::ReportRefusal(reason);
    GTEST_SKIP() << "E2E SKIPPED: " << reason;
  }
  ASSERT_EQ(rc, 0) << err;
  EXPECT_EQ(test_support::ReadFile(root_ + "/out"),
            "20:00:00:00:C9:00:00:01|21:00:00:00:C9:00:00:01|10772532|1077015c|8.03.07|5.06.03|"
            "2.02|ZV-2562\n"
            "20:00:00:00:C9:00:00:02||10772532|1077015c|8.03.07|5.06.03|2.02|ZV-2562\n");
}

}  // namespace
