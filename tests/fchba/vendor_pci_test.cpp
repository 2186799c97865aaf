#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "fchba/fc_hba_adapter.h"
#include "fchba/fc_hba_mra.h"
#include "tests/fchba/scratch_root.h"
#include "fchba/vendor_pci.h"

namespace {

using FakeHba::Library;

TEST(VendorChoice, ByCaseSensitiveNameParts) {
  const struct {
    const char* name;
    const char* word;
  } cases[] = {{"zelvok-2562", "libzvsdm"}, {"QLE zelvok Dazudu", "libzvsdm"},
               {"Dazudu LPe", "libdzsdm"},  {"Zelvok-2562", "mqhbaapi"},
               {"dazudu", "mqhbaapi"},      {"", "mqhbaapi"}};
  for (const auto& c : cases) EXPECT_STREQ(ChooseVendorLibrary(c.name).word, c.word) << c.name;
}

class VendorPciTest : public ScratchRoot {
 protected:
  // The Zelvok library as its configured path names it after the filter.
  std::string InstallServing(const Library& library, const std::string& variant = "") {
    const std::string path = Install("/usr/lib64/libzvsdm", library, variant);
    WriteConf("zelvok " + Path("/usr/lib64/libzvsdm-x86_64.so") + "\n");
    return path;
  }

  std::string LoadServing(const Library& library, const std::string& variant = "") {
    const std::string path = InstallServing(library, variant);
    EXPECT_EQ(HBA_LoadLibrary(), 0u);
    EXPECT_EQ(HBA_GetNumberOfAdapters(), library.adapters.size());
    return path;
  }

  std::unique_ptr<FcHbaAdapter> FirstAdapter() {
    FcHbaMRA enumerator;
    HBA_UINT32 status = 0;
    std::unique_ptr<FcHbaAdapter> adapter(enumerator.GetFirstAdapter(&status));
    EXPECT_EQ(status, 0u);
    return adapter;
  }
};

Library PciLibrary() {
  Library library = AdapterLibrary(1);
  library.adapters[0].subsystemVendor = 0x1a2b;
  library.adapters[0].subsystemDevice = 0x3c4d;
  library.adapters[0].bus = 0x41;
  library.adapters[0].function = 3;
  library.adapters[0].domain = 2;
  library.adapters[0].extra = {"vendor_id=0x77665544"};
  return library;
}

TEST_F(VendorPciTest, ServingLibraryGivesPciDataAndStaysLoaded) {
  const std::string path = InstallServing(PciLibrary());
  const auto adapter = FirstAdapter();
  ASSERT_TRUE(adapter);
  EXPECT_EQ(adapter->GetSubsystemIds(), 0x3c4d1a2bu);
  EXPECT_EQ(adapter->GetPciBus(), 0x41);
  EXPECT_EQ(adapter->GetPciFunction(), 3);
  EXPECT_EQ(adapter->GetPciDomain(), 2);
  EXPECT_TRUE(LibraryLoaded());
  const std::string log = CallLog(path);
  EXPECT_NE(log.find("VDLFC_GetAdapterAttributes2 1\nCloseAdapter 1\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("FreeLibrary"), std::string::npos) << log;
}

TEST_F(VendorPciTest, VendorBytesAfterTheRecordStayInsideTheArea) {
  Library library = PciLibrary();
  library.adapters[0].extra.push_back("attr2_tail=1024");
  InstallServing(library);
  Install("/usr/lib/mqhbaapi.so", library);
  const auto adapter = FirstAdapter();
  ASSERT_TRUE(adapter);
  EXPECT_EQ(adapter->GetPciBus(), 0x41);
  char name[kVendorNameBufferSize] = "x";
  char message[kVendorMessageSize] = {};
  HBA_UINT32 ids = 0;
  uint8_t bus = 0, function = 0, domain = 0;
  EXPECT_EQ(
      QueryVendorPciInfo(adapter->GetNodeWwn(), name, &ids, &bus, &function, &domain, message), 0);
}

TEST_F(VendorPciTest, ServingLibraryWithOtherWwnWritesNothingButSucceeds) {
  Library library = PciLibrary();
  library.adapters[0].extra.push_back("attr2_wwn=20000000c9000002");
  LoadServing(library);
  const auto adapter = FirstAdapter();
  ASSERT_TRUE(adapter);
  EXPECT_EQ(adapter->GetSubsystemIds(), 0x77665544u);
  EXPECT_EQ(adapter->GetPciBus(), 0);

  char message[kVendorMessageSize] = {};
  char path[256];
  HBA_UINT32 status = 9;
  ASSERT_EQ(FindVendorAttributes2Function("zelvok-0", path, HbaGetAdapterLibrary(0, path), message,
                                          &status),
            1u);
  EXPECT_EQ(status, 0u);
  EXPECT_STREQ(message, "dlsym for VDLFC_GetAdapterAttributes2 success!");
  HBA_UINT32 ids = 5;
  uint8_t bus = 6, function = 7, domain = 8;
  std::strcpy(message, "before");
  EXPECT_EQ(ReadVendorAttributes2(adapter->GetNodeWwn(), &ids, &bus, &function, &domain, message,
                                  0x00000001),
            0);
  EXPECT_EQ(ids, 5u);
  EXPECT_EQ(bus, 6);
  EXPECT_STREQ(message, "before");
}

TEST_F(VendorPciTest, ReadMessagesForSuccessAndFailure) {
  Library library = PciLibrary();
  library.adapters.push_back(library.adapters[0]);
  library.adapters[1].name = "zelvok-1";
  library.adapters[1].extra.push_back("attr2_status=5");
  LoadServing(library);
  char path[256];
  char message[kVendorMessageSize] = {};
  HBA_UINT32 status = 0;
  ASSERT_EQ(FindVendorAttributes2Function("zelvok-0", path, HbaGetAdapterLibrary(0, path), message,
                                          &status),
            1u);
  const uint8_t wwn[8] = {0x20, 0, 0, 0, 0xc9, 0, 0, 0x01};
  HBA_UINT32 ids = 0;
  uint8_t bus = 0, function = 0, domain = 0;
  EXPECT_EQ(ReadVendorAttributes2(wwn, &ids, &bus, &function, &domain, message, 0x00050001), 0);
  EXPECT_STREQ(message, "read adapter attribs Success! handle used is 0x1");
  EXPECT_EQ(ids, 0x3c4d1a2bu);
  EXPECT_EQ(ReadVendorAttributes2(wwn, &ids, &bus, &function, &domain, message, 2), -3);
  EXPECT_STREQ(message, "fail to read adapter attribs: handle used is 0x2: retStatus is 0x5");
}

TEST_F(VendorPciTest, FindVendorAttributes2FunctionOutcomes) {
  char message[kVendorMessageSize] = "untouched";
  HBA_UINT32 status = 7;
  int dummy = 0;
  EXPECT_EQ(
      FindVendorAttributes2Function("zelvok-0", "/usr/lib/libdzsdm.so", &dummy, message, &status),
      0u);
  EXPECT_STREQ(message, "untouched");
  EXPECT_EQ(status, 7u);
  EXPECT_EQ(
      FindVendorAttributes2Function("Dazudu-0", "/usr/lib/libdzsdm.so", nullptr, message, &status),
      1u);
  EXPECT_EQ(status, 1u);
  EXPECT_STREQ(message, "libHandle is NULL; cannot dlsym");
}

TEST_F(VendorPciTest, ServingLibraryWithoutTheReaderLeavesTheAdapterAndStaysLoaded) {
  LoadServing(PciLibrary(), "VDLFC_GetAdapterAttributes2");
  char path[256];
  char message[kVendorMessageSize] = {};
  HBA_UINT32 status = 0;
  EXPECT_EQ(FindVendorAttributes2Function("zelvok-0", path, HbaGetAdapterLibrary(0, path), message,
                                          &status),
            1u);
  EXPECT_EQ(status, 1u);
  EXPECT_STREQ(message, "unable to dlsym for VDLFC_GetAdapterAttributes2");
  const auto adapter = FirstAdapter();
  ASSERT_TRUE(adapter);
  EXPECT_EQ(adapter->GetSubsystemIds(), 0x77665544u);
  EXPECT_TRUE(LibraryLoaded());
}

// The stand-alone route, through the vendor library at its fixed paths.
struct QueryCase {
  const char* what;
  const char* name;                                // adapter name that chooses the vendor
  const char* installAt;                           // fixed path of the vendor library, "" for none
  const char* variant;                             // export the library lacks
  std::vector<std::vector<std::string>> adapters;  // extra keys per adapter
  std::vector<std::string> libraryKeys;
  int code;
  const char* message;
  const char* logTail;  // what the library's call log ends with
};

void PrintTo(const QueryCase& c, std::ostream* out) { *out << c.what; }

class QueryVendorPciInfoTest : public VendorPciTest,
                               public ::testing::WithParamInterface<QueryCase> {};

const char kOtherWwn[] = "attr2_wwn=1111111111111111";

TEST_P(QueryVendorPciInfoTest, EndsAsTheTableSays) {
  const QueryCase& c = GetParam();
  Library library;
  for (std::size_t i = 0; i < c.adapters.size(); ++i) {
    FakeHba::Adapter adapter = PciLibrary().adapters[0];
    adapter.name = "vendor-" + std::to_string(i);
    adapter.extra = {"vdlfc_open=" + std::to_string(0x40001 + i)};
    adapter.extra.insert(adapter.extra.end(), c.adapters[i].begin(), c.adapters[i].end());
    library.adapters.push_back(adapter);
  }
  library.extra = c.libraryKeys;
  std::string path;
  if (*c.installAt) path = Install(c.installAt, library, c.variant);

  const uint8_t wwn[8] = {0x20, 0, 0, 0, 0xc9, 0, 0, 0x01};
  char name[kVendorNameBufferSize] = {};
  std::strcpy(name, c.name);
  char message[kVendorMessageSize] = {};
  HBA_UINT32 ids = 0;
  uint8_t bus = 0, function = 0, domain = 0;
  EXPECT_EQ(QueryVendorPciInfo(wwn, name, &ids, &bus, &function, &domain, message), c.code);
  EXPECT_STREQ(message, c.message);
  if (c.code == 0) {
    EXPECT_EQ(ids, 0x3c4d1a2bu);
    EXPECT_EQ(bus, 0x41);
    EXPECT_EQ(function, 3);
    EXPECT_EQ(domain, 2);
  } else {
    EXPECT_EQ(ids, 0u);
    EXPECT_EQ(bus, 0);
  }
  if (!path.empty()) {
    const std::string log = CallLog(path);
    const std::string tail = c.logTail;
    ASSERT_GE(log.size(), tail.size()) << log;
    EXPECT_EQ(log.substr(log.size() - tail.size()), tail) << log;
  }
}

const std::vector<std::string> kMatch = {};
const std::vector<std::string> kNoMatch = {kOtherWwn};

INSTANTIATE_TEST_SUITE_P(
    Codes, QueryVendorPciInfoTest,
    ::testing::Values(
        QueryCase{"no Zelvok library", "zelvok-x", "", "", {}, {}, -1, "unable to load zvsdm", ""},
        QueryCase{"no Dazudu library", "Dazudu-x", "", "", {}, {}, -1, "unable to load dzsdm", ""},
        QueryCase{
            "no Marqeth library", "Zelvok-x", "", "", {}, {}, -1, "unable to load mqhbaapi", ""},
        QueryCase{"third Zelvok path",
                  "zelvok-x",
                  "/lib/cim/libzvsdm.so",
                  "",
                  {kMatch},
                  {},
                  0,
                  "pass",
                  "VDLFC_CloseAdapter 262145\nVDLFC_FreeLibrary\n"},
        QueryCase{"second Dazudu path",
                  "Dazudu-x",
                  "/usr/lib64/libdzsdm.so",
                  "",
                  {kNoMatch, kMatch},
                  {},
                  0,
                  "pass",
                  "VDLFC_GetAdapterAttributes2 262146\nVDLFC_CloseAdapter 262146\n"
                  "VDLFC_FreeLibrary\n"},
        QueryCase{"first Marqeth path",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "",
                  {kMatch},
                  {},
                  0,
                  "pass",
                  "VDLFC_FreeLibrary\n"},
        QueryCase{"no VDLFC_LoadLibrary",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "VDLFC_LoadLibrary",
                  {kMatch},
                  {},
                  -2,
                  "unable to dlsym for VDLFC_LoadLibrary",
                  ""},
        QueryCase{"no VDLFC_GetNumberOfAdapters",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "VDLFC_GetNumberOfAdapters",
                  {kMatch},
                  {},
                  -2,
                  "unable to dlsym for VDLFC_GetNumberOfAdapters",
                  ""},
        QueryCase{"no VDLFC_GetAdapterName",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "VDLFC_GetAdapterName",
                  {kMatch},
                  {},
                  -2,
                  "unable to dlsym for VDLFC_GetAdapterName",
                  ""},
        QueryCase{"no VDLFC_OpenAdapter",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "VDLFC_OpenAdapter",
                  {kMatch},
                  {},
                  -2,
                  "unable to dlsym for VDLFC_OpenAdapter",
                  ""},
        QueryCase{"no VDLFC_GetAdapterAttributes2",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "VDLFC_GetAdapterAttributes2",
                  {kMatch},
                  {},
                  -2,
                  "unable to dlsym for VDLFC_GetAdapterAttributes2",
                  ""},
        QueryCase{"no VDLFC_CloseAdapter",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "VDLFC_CloseAdapter",
                  {kMatch},
                  {},
                  -2,
                  "unable to dlsym for VDLFC_CloseAdapter",
                  ""},
        QueryCase{"no VDLFC_FreeLibrary",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "VDLFC_FreeLibrary",
                  {kMatch},
                  {},
                  -2,
                  "unable to dlsym for VDLFC_FreeLibrary",
                  ""},
        QueryCase{"load fails",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "",
                  {kMatch},
                  {"vdlfc_load=3"},
                  -7,
                  "fail to load library",
                  "VDLFC_LoadLibrary\n"},
        QueryCase{"second name fails before a match",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "",
                  {kNoMatch, {"vdlfc_name_status=1"}, kMatch},
                  {},
                  -5,
                  "fail to get adapter number",
                  "VDLFC_CloseAdapter 262145\nVDLFC_GetAdapterName 1\nVDLFC_FreeLibrary\n"},
        QueryCase{"open fails",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "",
                  {{"vdlfc_open=0"}},
                  {},
                  -4,
                  "fail to open adapter",
                  "VDLFC_OpenAdapter vendor-0\nVDLFC_FreeLibrary\n"},
        QueryCase{"read fails",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "",
                  {{"attr2_status=6"}},
                  {},
                  -3,
                  "fail to read adapter attribs, adapterHandle 0x40001, retStatus 0x6",
                  "VDLFC_GetAdapterAttributes2 262145\nVDLFC_CloseAdapter 262145\n"
                  "VDLFC_FreeLibrary\n"},
        QueryCase{"no match",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "",
                  {kNoMatch, kNoMatch},
                  {},
                  -6,
                  "could not find WWNN match",
                  "VDLFC_CloseAdapter 262146\nVDLFC_FreeLibrary\n"},
        QueryCase{"no adapters",
                  "x",
                  "/usr/lib/mqhbaapi.so",
                  "",
                  {},
                  {},
                  -6,
                  "could not find WWNN match",
                  "VDLFC_GetNumberOfAdapters\nVDLFC_FreeLibrary\n"}));

TEST_F(VendorPciTest, StandaloneRouteUnloadsAndReloadsTheHbaLibraries) {
  Library served = PciLibrary();
  served.adapters[0].subsystemVendor = 0;  // the serving library reports nothing useful
  const std::string servingPath = Install("/opt/fake/libother.so", served);
  WriteConf("other\t" + servingPath + "\n");
  Install("/usr/lib64/libzvsdm-x86_64.so", PciLibrary());

  const auto adapter = FirstAdapter();
  ASSERT_TRUE(adapter);
  EXPECT_EQ(adapter->GetSubsystemIds(), 0x3c4d1a2bu);
  EXPECT_EQ(adapter->GetPciBus(), 0x41);
  EXPECT_TRUE(LibraryLoaded());
  // Reloaded from the registry, the adapter table not rebuilt.
  const std::string log = CallLog(servingPath);
  const std::string tail =
      "CloseAdapter 1\nFreeLibrary\nHBA_RegisterLibrary\nGetVersion\nLoadLibrary\n";
  ASSERT_GE(log.size(), tail.size()) << log;
  EXPECT_EQ(log.substr(log.size() - tail.size()), tail) << log;
}

}  // namespace
