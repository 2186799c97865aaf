// Shared by the inventory-based vendor tests: a fixture on a scratch working
// directory, and helpers that fill inventory records and reference devices
// directly.
#ifndef TESTS_COMPONENT_VENDOR_TEST_SUPPORT_H
#define TESTS_COMPONENT_VENDOR_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "component/base_cmp.h"
#include "fchba/fc_hba_info.h"
#include "tests/component/scratch.h"

namespace vendortest {

// One adapter record as the inventory scan would hand it over.
struct Record {
  const char* pciIds = "1f3a4b21";
  const char* subsystemIds = "1f3a015d";
  const char* portWwn = "";
  const char* optionRom = "";
};

// Appends a record built from r to the component's inventory.
void AddRecord(CBaseCmp& component, const Record& r);

// Appends a reference device.
void AddReference(CBaseCmp& component, const std::wstring& deviceId, const std::wstring& model,
                  const std::wstring& version, const std::wstring& duration = L"120");

// A file of tests/fixtures, by its path below that directory.
inline std::string FixturePath(const std::string& name) {
  return std::string(VENDOR_FIXTURES_DIR) + "/" + name;
}

// What one discovered device with its single item should hold; the other
// fields are empty, and shared is "no".
struct ExpectedDevice {
  std::wstring deviceId, productId, version, active, action, duration;
};

void ExpectDevices(const std::vector<DeviceInfo>& devices, const std::wstring& itemType,
                   const std::vector<ExpectedDevice>& expected);

// A scratch working directory per test, with the fixed paths moved under it.
class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override { scratch_.reset(new Scratch()); }
  void TearDown() override { scratch_.reset(); }

  // The component log file's content so far.
  std::string Log() const { return scratch_->ReadLog(); }
  // Writes a file into the working directory.
  void WriteFile(const std::string& name, const std::string& content, int mode = 0644) const {
    scratch_->Write(name, content, mode);
  }

 private:
  std::unique_ptr<Scratch> scratch_;
};

}  // namespace vendortest

#endif
