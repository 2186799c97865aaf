#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "component/base_cmp.h"
#include "component/records.h"
#include "tests/component/scratch.h"
#include "component/text_convert.h"

namespace {

struct Device {
  std::string type, device_id, model, firmware, bios, boot, duration;
  uint32_t biosFlag;
};

bool operator==(const Device& a, const RefDevice& b) {
  return WidenBytes(a.type) == b.type && WidenBytes(a.device_id) == b.device_id &&
         WidenBytes(a.model) == b.model && WidenBytes(a.firmware) == b.firmware &&
         WidenBytes(a.bios) == b.bios && WidenBytes(a.boot) == b.boot &&
         WidenBytes(a.duration) == b.duration && a.biosFlag == b.biosFlag;
}

struct LoadRow {
  const char* name;
  std::optional<std::string> file;
  bool loaded;
  std::string discoveryAppPath;
  std::string installerAppPath;
  std::vector<Device> devices;
};

void PrintTo(const LoadRow& row, std::ostream* os) { *os << row.name; }

std::string Root(const std::string& inner) {
  return "<?xml version=\"1.0\"?>\n<trovex_fchba_reference>\n" + inner +
         "\n</trovex_fchba_reference>\n";
}

const Device kFull = {"FC", "1f3a.4b21.1f3a.015d", "DZe120", "2.82a4", "1.70a3", "5.02", "120", 2};

const LoadRow kRows[] = {
    {"Missing", std::nullopt, false, "", "", {}},
    {"Empty", std::string(""), false, "", "", {}},
    {"NotWellFormed", Root("<devices><device></devices>"), false, "", "", {}},
    {"Truncated",
     Root("<devices><device><type value=\"FC\"/></device></devices>").substr(0, 60),
     false,
     "",
     "",
     {}},
    {"OneLine",
     "<trovex_fchba_reference><discovery_app_path><![CDATA[/opt/disc]]></discovery_app_path>"
     "<installer_app_path><![CDATA[/opt/inst]]></installer_app_path><devices><device>"
     "<type value=\"FC\"/><device_id value=\"1f3a.4b21.1f3a.015d\"/><model value=\"DZe120\"/>"
     "<firmware value=\"2.82a4\"/><bios value=\"1.70a3\"/><boot value=\"5.02\"/>"
     "<duration value=\"120\"/></device></devices></trovex_fchba_reference>",
     true,
     "/opt/disc",
     "/opt/inst",
     {kFull}},
    {"CdataAfterWhitespace",
     Root("<discovery_app_path>\n  <![CDATA[/opt/disc]]></discovery_app_path>"),
     true,
     "",
     "",
     {}},
    {"EmptyPathElement",
     Root("<discovery_app_path/><installer_app_path></installer_app_path>"),
     true,
     "",
     "",
     {}},
    {"TextInsteadOfCdata",
     Root("<installer_app_path>/opt/inst</installer_app_path>"),
     true,
     "",
     "",
     {}},
    {"LaterPathWins",
     Root("<discovery_app_path><![CDATA[a]]></discovery_app_path>"
          "<discovery_app_path><![CDATA[b]]></discovery_app_path>"),
     true,
     "b",
     "",
     {}},
    {"EmptyBiosClearsFlag",
     Root("<devices><device><device_id value=\"k1\"/><bios value=\"\"/></device>"
          "<device><device_id value=\"k2\"/></device></devices>"),
     true,
     "",
     "",
     {{"", "k1", "", "", "", "", "", 0}, {"", "k2", "", "", "", "", "", 2}}},
    {"BiosWithoutValueClearsFlag",
     Root("<devices><device><bios/></device></devices>"),
     true,
     "",
     "",
     {{"", "", "", "", "", "", "", 0}}},
    {"RepeatedElementsLaterWins",
     Root("<devices><device><firmware value=\"1\"/><firmware value=\"2\"/></device></devices>"
          "<devices><device><firmware value=\"3\"/></device></devices>"),
     true,
     "",
     "",
     {{"", "", "", "2", "", "", "", 2}, {"", "", "", "3", "", "", "", 2}}},
    {"DeviceOutsideDevices", Root("<device><device_id value=\"k\"/></device>"), true, "", "", {}},
    {"OtherChildrenOfDevicesSkipped",
     Root("<devices><!-- c --><Device/><item/><device><model value=\"M\" other=\"x\"/>"
          "<Model value=\"N\"/>text</device></devices>"),
     true,
     "",
     "",
     {{"", "", "M", "", "", "", "", 2}}},
    {"EscapedAttributeValue",
     Root("<devices><device><model value=\"&lt;&amp;&quot;\"/></device></devices>"),
     true,
     "",
     "",
     {{"", "", "<&\"", "", "", "", "", 2}}},
    {"NonAsciiModelBytesKept",
     Root("<devices><device><model value=\"M\xC3\xB6"
          "del \xE2\x84\xA2\"/></device></devices>"),
     true,
     "",
     "",
     {{"", "",
       "M\xC3\xB6"
       "del \xE2\x84\xA2",
       "", "", "", "", 2}}},
    {"OtherRoot",
     "<other><devices><device><device_id value=\"k\"/></device></devices></other>",
     true,
     "",
     "",
     {}},
    {"RootNameIsCaseSensitive",
     "<Trovex_fchba_reference><devices><device/></devices></Trovex_fchba_reference>",
     true,
     "",
     "",
     {}},
    {"DoctypeDoesNotHideDocument",
     "<!DOCTYPE trovex_fchba_reference [<!ELEMENT devices ANY>]>\n"
     "<trovex_fchba_reference><devices><device/></devices></trovex_fchba_reference>",
     true,
     "",
     "",
     {{"", "", "", "", "", "", "", 2}}},
};

class ReferenceLoadTest : public ::testing::TestWithParam<LoadRow> {};

void ExpectLoaded(const ReferenceData& data, const LoadRow& row) {
  EXPECT_EQ(data.discoveryAppPath, WidenBytes(row.discoveryAppPath));
  EXPECT_EQ(data.installerAppPath, WidenBytes(row.installerAppPath));
  ASSERT_EQ(data.devices.size(), row.devices.size());
  for (std::size_t i = 0; i < row.devices.size(); ++i) {
    EXPECT_TRUE(row.devices[i] == data.devices[i]) << "device " << i;
  }
}

TEST_P(ReferenceLoadTest, ReadsWhatTheFileHolds) {
  const LoadRow& row = GetParam();
  Scratch scratch;
  if (row.file) scratch.Write("reference.xml", *row.file);
  ReferenceData data;
  EXPECT_EQ(data.Load(), row.loaded);
  ExpectLoaded(data, row);
}

INSTANTIATE_TEST_SUITE_P(Files, ReferenceLoadTest, ::testing::ValuesIn(kRows), RowName<LoadRow>);

TEST(ReferenceLoadTest, GzipCompressedFileIsRead) {
  Scratch scratch;
  const LoadRow& row = kRows[4];  // OneLine
  gzFile out = gzopen("reference.xml", "wb");
  ASSERT_NE(out, nullptr);
  gzwrite(out, row.file->data(), static_cast<unsigned>(row.file->size()));
  gzclose(out);
  ReferenceData data;
  EXPECT_TRUE(data.Load());
  ExpectLoaded(data, row);
}

TEST(ReferenceLoadTest, LoadAppendsToEarlierContent) {
  Scratch scratch;
  scratch.Write("reference.xml", Root("<devices><device/></devices>"));
  ReferenceData data;
  EXPECT_TRUE(data.Load());
  EXPECT_TRUE(data.Load());
  EXPECT_EQ(data.devices.size(), 2u);
}

// Files built to exhaust the reader: each must end quickly with the reader's
// ordinary answer.
struct HostileRow {
  const char* name;
  std::string (*build)();
  bool loaded;
  std::size_t devices;
};

void PrintTo(const HostileRow& row, std::ostream* os) { *os << row.name; }

std::string LargeFile() {
  std::string padding = "<!--" + std::string(1 << 20, 'x') + "-->\n";
  std::string inner = "<devices>";
  for (int i = 0; i < 1000; ++i)
    inner += "<device><device_id value=\"" + std::to_string(i) + "\"/></device>\n";
  inner += "</devices>\n";
  for (int i = 0; i < 50; ++i) inner += padding;
  return Root(inner);
}

std::string DeeplyNested() {
  std::string open, close;
  for (int i = 0; i < 100000; ++i) {
    open += "<devices>";
    close += "</devices>";
  }
  return Root(open + close);
}

std::string EntityBomb(const std::string& use) {
  std::string doc =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE trovex_fchba_reference [\n<!ENTITY e0 "
      "\"lollollollol\">\n";
  for (int i = 1; i < 12; ++i) {
    std::string prev = "&e" + std::to_string(i - 1) + ";";
    std::string body;
    for (int j = 0; j < 10; ++j) body += prev;
    doc += "<!ENTITY e" + std::to_string(i) + " \"" + body + "\">\n";
  }
  return doc + "]>\n<trovex_fchba_reference><devices><device>" + use +
         "</device></devices>"
         "</trovex_fchba_reference>\n";
}

std::string EntityBombInAttribute() { return EntityBomb("<model value=\"&e11;\"/>"); }
std::string EntityBombInContent() { return EntityBomb("<model value=\"m\">&e11;</model>"); }

std::string HugeTextNode() { return Root("<devices>" + std::string(20 << 20, 'y') + "</devices>"); }

const HostileRow kHostile[] = {
    {"Large50MB", LargeFile, true, 1000},
    {"DeeplyNested", DeeplyNested, false, 0},
    {"EntityBombInAttribute", EntityBombInAttribute, false, 0},
    {"EntityBombInContent", EntityBombInContent, false, 0},
    {"HugeTextNode", HugeTextNode, false, 0},
};

class HostileReferenceTest : public ::testing::TestWithParam<HostileRow> {};

TEST_P(HostileReferenceTest, EndsQuicklyWithoutCrash) {
  const HostileRow& row = GetParam();
  Scratch scratch;
  scratch.Write("reference.xml", row.build());
  ReferenceData data;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(data.Load(), row.loaded);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(data.devices.size(), row.devices);
  EXPECT_LT(seconds, 10.0);
  RecordProperty("seconds", std::to_string(seconds));
}

INSTANTIATE_TEST_SUITE_P(Files, HostileReferenceTest, ::testing::ValuesIn(kHostile),
                         RowName<HostileRow>);

struct LookupRow {
  std::vector<std::string> ids;
  std::string key;
  uint32_t index;
};

TEST(FindReferenceDeviceTest, WholeKeyIgnoringCaseFirstWins) {
  const LookupRow rows[] = {
      {{"1f3a.4b21.1f3a.015d"}, "1f3a.4b21.1f3a.015D", 0},
      {{"x", "1F3A.4B21.1F3A.015D", "1f3a.4b21.1f3a.015d"}, "1f3a.4b21.1f3a.015d", 1},
      {{"1f3a.4b21.1f3a.015d"}, "1f3a.4b21.1f3a.015", CBaseCmp::kNoReference},
      {{"1f3a.4b21.1f3a.015d"}, " 1f3a.4b21.1f3a.015d", CBaseCmp::kNoReference},
      {{"1f3a.4b21.1f3a.015d", ""}, "", 1},
      {{"a"}, "", CBaseCmp::kNoReference},
      {{}, "1f3a.4b21.1f3a.015d", CBaseCmp::kNoReference},
      {{}, "", CBaseCmp::kNoReference},
  };
  Scratch scratch;
  CBaseCmp component;
  for (const LookupRow& row : rows) {
    component.reference.devices.clear();
    for (const std::string& id : row.ids) {
      RefDevice device;
      device.device_id = WidenBytes(id);
      component.reference.devices.push_back(device);
    }
    EXPECT_EQ(component.FindReferenceDevice(WidenBytes(row.key)), row.index) << row.key;
    EXPECT_LT(static_cast<int32_t>(CBaseCmp::kNoReference), 0);
  }
}

}  // namespace
