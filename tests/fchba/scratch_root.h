// A test fixture that moves every fixed path under a fresh scratch
// directory and leaves the HBA libraries unloaded afterwards.
#ifndef TESTS_FCHBA_SCRATCH_ROOT_H
#define TESTS_FCHBA_SCRATCH_ROOT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fchba/fixed_paths.h"
#include "fchba/hba_api.h"
#include "tests/fixtures/fchba/fake_hba_kit.h"
#include "tests/support/files.h"
#include "tests/support/scratch_dir.h"

class ScratchRoot : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.ok());
    root_ = scratch_.path();
    FixedPaths::SetTestRoot(root_);
  }
  // The scratch directory goes after this, with the libraries unloaded.
  void TearDown() override {
    HBA_FreeLibrary();
    FixedPaths::SetTestRoot("");
  }

  std::string Path(const std::string& relative) const { return root_ + relative; }

  void WriteConf(const std::string& text) const {
    test_support::WriteFile(Path("/etc/hba.conf"), text);
  }

  // Installs a fake library at the relative path and returns its full path.
  std::string Install(const std::string& relative, const FakeHba::Library& library,
                      const std::string& variant = "") const {
    FakeHba::InstallLibrary(Path(relative), library, variant);
    return Path(relative);
  }

  // Whether library index i of the HBA-API table is loaded and usable.
  static bool LibraryLoaded(HBA_UINT32 i = 0) {
    HBA_UINT32 library = 0;
    HBA_UINT32 vendor = 0;
    return HbaDecodeHandle(i << 16, &library, &vendor) == HBA_STATUS_OK;
  }

  std::string CallLog(const std::string& libraryPath) const {
    return test_support::ReadFile(libraryPath + ".log");
  }

  // Letters and digits only: the path goes into hba.conf lines and shell
  // commands.
  test_support::ScratchDir scratch_{"/tmp", "fchba"};
  std::string root_;
};

// A library of n adapters named prefix0, prefix1, ... with distinct WWNs and
// PCI buses.
inline FakeHba::Library AdapterLibrary(int n, const std::string& prefix = "zelvok-") {
  FakeHba::Library library;
  for (int i = 0; i < n; ++i) {
    FakeHba::Adapter adapter;
    adapter.name = prefix + std::to_string(i);
    char wwn[32];
    std::snprintf(wwn, sizeof(wwn), "20000000c9%06x", i + 1);
    adapter.nodeWwn = wwn;
    std::snprintf(wwn, sizeof(wwn), "21000000c9%06x", i + 1);
    adapter.ports[0].wwn = wwn;
    adapter.bus = static_cast<uint8_t>(i + 1);
    library.adapters.push_back(adapter);
  }
  return library;
}

#endif
