#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "fchba/hba_api.h"
#include "tests/fchba/scratch_root.h"

namespace {

using FakeHba::Library;

class HbaLoaderTest : public ScratchRoot {
 protected:
  // Installs library as libN.so and returns its hba.conf line.
  std::string Line(int n, const Library& library, const std::string& variant = "") {
    return "lib" + std::to_string(n) + "\t" +
           Install("/usr/lib/lib" + std::to_string(n) + ".so", library, variant) + "\n";
  }

  HBA_UINT32 Load(const std::string& conf) {
    WriteConf(conf);
    EXPECT_EQ(HBA_LoadLibrary(), 0u);
    return HBA_GetNumberOfAdapters();
  }
};

TEST_F(HbaLoaderTest, MissingRegistryReportsOneAndNoAdapters) {
  EXPECT_EQ(HBA_LoadLibrary(), 1u);
  EXPECT_EQ(HBA_GetNumberOfAdapters(), 0u);
  EXPECT_EQ(HBA_GetVersion(), 1u);
}

struct StatusCase {
  const char* what;
  const char* extra;    // library key line
  const char* variant;  // export the library lacks
  bool usable;
};

void PrintTo(const StatusCase& c, std::ostream* out) { *out << c.what; }

class LibraryStatusTest : public HbaLoaderTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(LibraryStatusTest, OnlyAFullyLoadedLibraryServesAndTheNextLineStillLoads) {
  const StatusCase& c = GetParam();
  Library first = AdapterLibrary(1, "first-");
  if (*c.extra) first.extra.push_back(c.extra);
  const std::string conf = Line(0, first, c.variant) + Line(1, AdapterLibrary(2, "second-"));
  EXPECT_EQ(Load(conf), c.usable ? 3u : 2u) << c.what;
  EXPECT_EQ(LibraryLoaded(0), c.usable) << c.what;
  EXPECT_TRUE(LibraryLoaded(1)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, LibraryStatusTest,
    ::testing::Values(StatusCase{"loads", "", "", true},
                      StatusCase{"registration fails", "register=1", "", false},
                      StatusCase{"GetVersion gives 0", "version=0", "", false},
                      StatusCase{"LoadLibrary fails", "load=5", "", false},
                      StatusCase{"no GetVersion", "missing=GetVersion", "", false},
                      StatusCase{"no LoadLibrary", "missing=LoadLibrary", "", false},
                      StatusCase{"no HBA_RegisterLibrary", "", "HBA_RegisterLibrary", false}));

TEST_F(HbaLoaderTest, UnopenableLibraryIsIgnored) {
  EXPECT_EQ(Load("gone\t" + Path("/usr/lib/none.so") + "\n" + Line(1, AdapterLibrary(1))), 1u);
  EXPECT_FALSE(LibraryLoaded(0));
  EXPECT_TRUE(LibraryLoaded(1));
}

TEST_F(HbaLoaderTest, SkippedLinesTakeNoIndexButAnEmptyFilteredPathDoes) {
  const std::string conf =
      "#comment\tx\n\nnoseparator\n  # word\n"
      "named\t\n"
      "dash\t-filtered.so\n" +
      Line(1, AdapterLibrary(1));
  ASSERT_EQ(Load(conf), 1u);
  EXPECT_FALSE(LibraryLoaded(0));
  EXPECT_EQ(HBA_OpenAdapter("zelvok-0") >> 16, 1u);
}

struct LongLineCase {
  const char* what;
  bool comment;  // the line is "#", the blanks, then the entry
  std::size_t blanks;
};

void PrintTo(const LongLineCase& c, std::ostream* out) { *out << c.what; }

class LongLineTest : public HbaLoaderTest, public ::testing::WithParamInterface<LongLineCase> {};

// A long line is one line: an entry followed by any run of blanks loads, and
// the entry at the end of a long comment line is part of the comment.
TEST_P(LongLineTest, IsParsedAsOneLine) {
  const LongLineCase& c = GetParam();
  const std::string entry = Line(0, AdapterLibrary(1, "first-"));
  const std::string blanks(c.blanks, ' ');
  const std::string line =
      c.comment ? "#" + blanks + entry : entry.substr(0, entry.size() - 1) + blanks + "\n";
  ASSERT_EQ(Load(line + Line(1, AdapterLibrary(1, "second-"))), c.comment ? 1u : 2u) << c.what;
  EXPECT_EQ(HBA_OpenAdapter("first-0") != 0, !c.comment) << c.what;
  EXPECT_EQ(HBA_OpenAdapter("second-0") >> 16, c.comment ? 0u : 1u) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, LongLineTest,
    ::testing::Values(LongLineCase{"entry, 600 blanks", false, 600},
                      LongLineCase{"entry, 5,000 blanks", false, 5000},
                      LongLineCase{"entry, 100,000 blanks", false, 100000},
                      LongLineCase{"comment of 600 blanks, entry", true, 600},
                      LongLineCase{"comment of 5,000 blanks, entry", true, 5000},
                      LongLineCase{"comment of 100,000 blanks, entry", true, 100000}));

TEST_F(HbaLoaderTest, LibraryTableHolds32Libraries) {
  const std::string line = Line(0, AdapterLibrary(1));
  std::string conf;
  for (int i = 0; i < 40; ++i) conf += line;
  EXPECT_EQ(Load(conf), 32u);
  EXPECT_TRUE(LibraryLoaded(31));
}

TEST_F(HbaLoaderTest, AdapterTableHolds64Adapters) {
  ASSERT_EQ(Load(Line(0, AdapterLibrary(70))), 64u);
  char name[256] = {};
  EXPECT_EQ(HBA_GetAdapterName(63, name), HBA_STATUS_OK);
  EXPECT_STREQ(name, "zelvok-63");
  EXPECT_EQ(HBA_GetAdapterName(64, name), HBA_STATUS_ERROR_ILLEGAL_INDEX);
}

TEST_F(HbaLoaderTest, LongAdapterNameIsKeptWholeAndOpens) {
  Library library = AdapterLibrary(1);
  library.adapters[0].name = std::string(200, 'z');
  ASSERT_EQ(Load(Line(0, library)), 1u);
  char name[256] = {};
  ASSERT_EQ(HBA_GetAdapterName(0, name), HBA_STATUS_OK);
  EXPECT_EQ(std::string(name), library.adapters[0].name);
  EXPECT_NE(HBA_OpenAdapter(name), 0u);
}

TEST_F(HbaLoaderTest, LongLibraryNameStillLoads) {
  const std::string path = Install("/usr/lib/lib0.so", AdapterLibrary(1));
  EXPECT_EQ(Load(std::string(100, 'n') + "\t" + path + "\n"), 1u);
}

TEST_F(HbaLoaderTest, FailedAdapterNameMakesAnEmptyEntry) {
  Library library = AdapterLibrary(2);
  library.adapters[0].extra.push_back("name_status=1");
  ASSERT_EQ(Load(Line(0, library)), 2u);
  char name[256] = "previous";
  EXPECT_EQ(HBA_GetAdapterName(0, name), HBA_STATUS_OK);
  EXPECT_STREQ(name, "");
}

TEST_F(HbaLoaderTest, AdapterNameAtTotalIsIllegalAndLeavesTheBuffer) {
  ASSERT_EQ(Load(Line(0, AdapterLibrary(2))), 2u);
  char name[256] = "untouched";
  EXPECT_EQ(HBA_GetAdapterName(2, name), HBA_STATUS_ERROR_ILLEGAL_INDEX);
  EXPECT_STREQ(name, "untouched");
}

TEST_F(HbaLoaderTest, HandlesPackLibraryIndexAndLow16VendorBits) {
  Library first = AdapterLibrary(1, "dup");
  first.adapters[0].name = "dup";
  first.adapters[0].extra.push_back("open=0x11");
  Library second = first;
  second.adapters[0].extra.back() = "open=0x22";
  Library third = AdapterLibrary(2, "third-");
  third.adapters[0].extra.push_back("open=0x12345");
  third.adapters[1].extra.push_back("open=0");
  ASSERT_EQ(Load(Line(0, first) + Line(1, second) + Line(2, third)), 4u);
  EXPECT_EQ(HBA_OpenAdapter("dup"), 0x11u);
  EXPECT_EQ(HBA_OpenAdapter("third-0"), 0x22345u);
  EXPECT_EQ(HBA_OpenAdapter("third-1"), 0u);
  EXPECT_EQ(HBA_OpenAdapter("Dup"), 0u);
}

TEST_F(HbaLoaderTest, VendorHandlePackingToZeroIsClosedAgain) {
  Library library = AdapterLibrary(1);
  library.adapters[0].extra.push_back("open=0x10000");
  const std::string path = Install("/usr/lib/lib0.so", library);
  ASSERT_EQ(Load("lib\t" + path + "\n"), 1u);
  EXPECT_EQ(HBA_OpenAdapter("zelvok-0"), 0u);
  EXPECT_NE(CallLog(path).find("OpenAdapter zelvok-0\nCloseAdapter 65536\n"), std::string::npos);
}

TEST_F(HbaLoaderTest, DecodeHandle) {
  ASSERT_EQ(Load(Line(0, AdapterLibrary(1))), 1u);
  struct Case {
    HBA_HANDLE handle;
    HBA_STATUS status;
    HBA_UINT32 library;
  } cases[] = {
      {0x0000ABCD, 0, 0}, {0x00050001, 1, 5}, {0x00200001, 3, 32}, {0xFFFF0001, 3, 0xFFFF}};
  for (const Case& c : cases) {
    HBA_UINT32 library = 99;
    HBA_UINT32 vendor = 99;
    EXPECT_EQ(HbaDecodeHandle(c.handle, &library, &vendor), c.status) << std::hex << c.handle;
    EXPECT_EQ(library, c.library);
    if (c.status == 0) {
      EXPECT_EQ(vendor, c.handle & 0xFFFF);
    }
  }
}

TEST_F(HbaLoaderTest, ForwardingPassesTheVendorHandleAndResult) {
  Library library = AdapterLibrary(1);
  library.adapters[0].extra.push_back("open=0x30007");
  library.adapters[0].extra.push_back("attr_status=0x20");
  const std::string path = Install("/usr/lib/lib0.so", library);
  ASSERT_EQ(Load("lib\t" + path + "\n"), 1u);
  const HBA_HANDLE handle = HBA_OpenAdapter("zelvok-0");
  ASSERT_EQ(handle, 0x0007u);
  char request[3] = {};
  char response[4] = {};
  EXPECT_EQ(HBA_SendCTPassThru(handle, request, 3, response, 4), 42u);
  HBA_ADAPTERATTRIBUTES attributes;
  EXPECT_EQ(HBA_GetAdapterAttributes(handle, &attributes), 0x20u);
  EXPECT_EQ(HBA_CloseAdapter(handle), 0u);
  const std::string log = CallLog(path);
  EXPECT_NE(log.find("SendCTPassThru 7 3 4\n"), std::string::npos) << log;
  EXPECT_NE(log.find("CloseAdapter 7\n"), std::string::npos) << log;
}

TEST_F(HbaLoaderTest, MissingEntryPointGivesZeroAndLeavesOutputs) {
  Library library = AdapterLibrary(1);
  library.extra.push_back("missing=GetAdapterAttributes,GetPortStatistics");
  ASSERT_EQ(Load(Line(0, library)), 1u);
  const HBA_HANDLE handle = HBA_OpenAdapter("zelvok-0");
  ASSERT_NE(handle, 0u);
  HBA_ADAPTERATTRIBUTES attributes;
  std::memset(&attributes, 0xAB, sizeof(attributes));
  EXPECT_EQ(HBA_GetAdapterAttributes(handle, &attributes), 0u);
  EXPECT_EQ(static_cast<unsigned char>(attributes.Model[0]), 0xABu);
  HBA_PORTSTATISTICS statistics;
  std::memset(&statistics, 0xCD, sizeof(statistics));
  EXPECT_EQ(HBA_GetPortStatistics(handle, 0, &statistics), 0u);
  EXPECT_EQ(static_cast<uint64_t>(statistics.TxFrames), 0xCDCDCDCDCDCDCDCDull);
}

TEST_F(HbaLoaderTest, EveryForwardingOperationReportsErrorAfterFree) {
  ASSERT_EQ(Load(Line(0, AdapterLibrary(1))), 1u);
  const HBA_HANDLE h = HBA_OpenAdapter("zelvok-0");
  ASSERT_NE(h, 0u);
  ASSERT_EQ(HBA_FreeLibrary(), 0u);

  HBA_ADAPTERATTRIBUTES adapter;
  HBA_PORTATTRIBUTES port;
  HBA_PORTSTATISTICS statistics;
  HBA_WWN wwn = {};
  HBA_UINT32 size = 0;
  char buffer[8];
  const std::function<HBA_STATUS()> operations[] = {
      [&] { return HBA_CloseAdapter(h); },
      [&] { return HBA_GetAdapterAttributes(h, &adapter); },
      [&] { return HBA_GetAdapterPortAttributes(h, 0, &port); },
      [&] { return HBA_GetPortStatistics(h, 0, &statistics); },
      [&] { return HBA_GetDiscoveredPortAttributes(h, 0, 0, &port); },
      [&] { return HBA_GetPortAttributesByWWN(h, wwn, &port); },
      [&] { return HBA_SendCTPassThru(h, buffer, 1, buffer, 1); },
      [&] { return HBA_RefreshInformation(h); },
      [&] { return HBA_ResetStatistics(h, 0); },
      [&] { return HBA_GetFcpTargetMapping(h, nullptr); },
      [&] { return HBA_GetFcpPersistentBinding(h, nullptr); },
      [&] { return HBA_GetEventBuffer(h, nullptr, &size); },
      [&] { return HBA_SetRNIDMgmtInfo(h, nullptr); },
      [&] { return HBA_GetRNIDMgmtInfo(h, nullptr); },
      [&] { return HBA_SendRNID(h, wwn, 0, buffer, &size); },
      [&] { return HBA_SendScsiInquiry(h, wwn, 0, 0, 0, buffer, 1, buffer, 1); },
      [&] { return HBA_SendReportLUNs(h, wwn, buffer, 1, buffer, 1); },
      [&] { return HBA_SendReadCapacity(h, wwn, 0, buffer, 1, buffer, 1); },
  };
  int i = 0;
  for (const auto& operation : operations)
    EXPECT_EQ(operation(), HBA_STATUS_ERROR) << "operation " << i++;
  // The adapter table stays, but its library no longer opens it.
  char name[256] = {};
  EXPECT_EQ(HBA_GetAdapterName(0, name), HBA_STATUS_OK);
  EXPECT_STREQ(name, "zelvok-0");
  EXPECT_EQ(HBA_OpenAdapter("zelvok-0"), 0u);
}

TEST_F(HbaLoaderTest, FreeCallsTheVendorFreeAndReloadServesAgain) {
  const std::string path = Install("/usr/lib/lib0.so", AdapterLibrary(1));
  ASSERT_EQ(Load("lib\t" + path + "\n"), 1u);
  HBA_FreeLibrary();
  EXPECT_FALSE(LibraryLoaded(0));
  ASSERT_EQ(HBA_LoadLibrary(), 0u);
  EXPECT_TRUE(LibraryLoaded(0));
  // A load over a library still loaded unloads it first.
  ASSERT_EQ(HBA_LoadLibrary(), 0u);
  EXPECT_TRUE(LibraryLoaded(0));
  EXPECT_EQ(CallLog(path),
            "HBA_RegisterLibrary\nGetVersion\nLoadLibrary\nGetNumberOfAdapters\nGetAdapterName 0\n"
            "FreeLibrary\n"
            "HBA_RegisterLibrary\nGetVersion\nLoadLibrary\n"
            "FreeLibrary\n"
            "HBA_RegisterLibrary\nGetVersion\nLoadLibrary\n");
}

TEST_F(HbaLoaderTest, AdapterLibraryGivesPathAndHandle) {
  const std::string path = Install("/usr/lib/lib0.so", AdapterLibrary(1));
  ASSERT_EQ(Load("lib\t" + path + "\n"), 1u);
  char buffer[256];
  EXPECT_NE(HbaGetAdapterLibrary(0, buffer), nullptr);
  EXPECT_EQ(std::string(buffer), path);
  EXPECT_EQ(HbaGetAdapterLibrary(1, buffer), nullptr);
  EXPECT_STREQ(buffer, "");
}

}  // namespace
