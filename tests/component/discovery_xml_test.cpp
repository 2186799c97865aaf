#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/base_cmp.h"
#include "tests/component/scratch.h"
#include "component/text_convert.h"

namespace {

FwItem Item(const std::string& type, const std::string& version, const std::string& active,
            const std::string& action, const std::string& shared) {
  FwItem item;
  item.type = WidenBytes(type);
  item.version = WidenBytes(version);
  item.active_version = WidenBytes(active);
  item.action = WidenBytes(action);
  item.duration = L"120";
  item.shared = WidenBytes(shared);
  return item;
}

DeviceInfo Device(const std::string& key, const std::string& model, std::vector<FwItem> items) {
  DeviceInfo device;
  device.device_id = WidenBytes(key);
  device.product_id = WidenBytes(model);
  device.reserved = L"never written";
  device.items = std::move(items);
  return device;
}

const std::string kHead =
    "<?xml version=\"1.0\"?>\n"
    "<qv_rom_discovery version=\"2.0.0.0\">\n"
    "  <type value=\"\"/>\n"
    "  <alt_name value=\"\"/>\n"
    "  <version value=\"\"/>\n"
    "  <takes_effect value=\"\"/>\n";

std::string DeviceHead(const std::string& key, const std::string& model) {
  return "    <device>\n      <device_id value=\"" + key + "\"/>\n      <product_id value=\"" +
         model + "\"/>\n      <busnumber value=\"\"/>\n      <funcnumber value=\"\"/>\n";
}

std::string ItemXml(const std::string& type, const std::string& version, const std::string& active,
                    const std::string& action, const std::string& shared) {
  return "      <fw_item>\n        <type value=\"" + type +
         "\"/>\n        <firmware_id value=\"\"/>\n"
         "        <version value=\"" +
         version + "\"/>\n        <active_version value=\"" + active +
         "\"/>\n        <action value=\"" + action +
         "\"/>\n        <duration value=\"120\"/>\n"
         "        <message value=\"\"/>\n        <shared value=\"" +
         shared + "\"/>\n      </fw_item>\n";
}

struct XmlRow {
  const char* name;
  std::vector<DeviceInfo> devices;
  std::string expected;
};

void PrintTo(const XmlRow& row, std::ostream* os) { *os << row.name; }

const XmlRow kRows[] = {
    {"NoDevices", {}, kHead + "  <devices/>\n</qv_rom_discovery>\n"},
    {"DeviceWithoutItems",
     {Device("1f3a.4b21.1f3a.015d", "DZe120", {})},
     kHead + "  <devices>\n" + DeviceHead("1f3a.4b21.1f3a.015d", "DZe120") +
         "    </device>\n  </devices>\n</qv_rom_discovery>\n"},
    {"DevicesWithItems",
     {Device("1f3a.4b21.1f3a.015d", "DZe120",
             {Item("Firmware", "282a4", "282A4", "rewrite", "no"),
              Item("Boot BIOS ROM", "1.70a3", "1.60a1", "upgrade", "")}),
      Device("1F3A.00F1.1F3A.0001", "", {Item("Firmware", "", "", "downgrade", "no")})},
     kHead + "  <devices>\n" + DeviceHead("1f3a.4b21.1f3a.015d", "DZe120") +
         ItemXml("Firmware", "282a4", "282A4", "rewrite", "no") +
         ItemXml("Boot BIOS ROM", "1.70a3", "1.60a1", "upgrade", "") + "    </device>\n" +
         DeviceHead("1F3A.00F1.1F3A.0001", "") + ItemXml("Firmware", "", "", "downgrade", "no") +
         "    </device>\n  </devices>\n</qv_rom_discovery>\n"},
    {"SpecialCharactersEscaped",
     {Device("a<b>&\"'", "x", {})},
     kHead + "  <devices>\n" + DeviceHead("a&lt;b&gt;&amp;&quot;'", "x") +
         "    </device>\n  </devices>\n</qv_rom_discovery>\n"},
    {"NonAsciiModel",
     {Device("k",
             "M\xC3\xB6"
             "del",
             {})},
     kHead + "  <devices>\n" + DeviceHead("k", "M&#xF6;del") +
         "    </device>\n  </devices>\n</qv_rom_discovery>\n"},
};

class DiscoveryXmlTest : public ::testing::TestWithParam<XmlRow> {};

TEST_P(DiscoveryXmlTest, WritesExactBytes) {
  const XmlRow& row = GetParam();
  Scratch scratch;
  CBaseCmp component;
  component.discovery.devices = row.devices;
  component.discovery.os.osName = L"rhel5";
  component.discoveryPath = "out.xml";
  scratch.Write("out.xml", "an older file that is replaced");
  EXPECT_TRUE(component.WriteDiscoveryXml());
  EXPECT_EQ(test_support::ReadFile("out.xml"), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Records, DiscoveryXmlTest, ::testing::ValuesIn(kRows), RowName<XmlRow>);

TEST(DiscoveryXmlHeadTest, DiscoveryLevelValuesAreWritten) {
  Scratch scratch;
  CBaseCmp component;
  component.discovery.type = L"FC";
  component.discovery.alt_name = L"alt";
  component.discovery.version = L"1.0";
  component.discovery.takes_effect = L"reboot";
  component.discoveryPath = "out.xml";
  EXPECT_TRUE(component.WriteDiscoveryXml());
  EXPECT_EQ(
      test_support::ReadFile("out.xml"),
      "<?xml version=\"1.0\"?>\n<qv_rom_discovery version=\"2.0.0.0\">\n  <type value=\"FC\"/>\n"
      "  <alt_name value=\"alt\"/>\n  <version value=\"1.0\"/>\n  <takes_effect "
      "value=\"reboot\"/>\n"
      "  <devices/>\n</qv_rom_discovery>\n");
}

TEST(DiscoveryXmlHeadTest, UnwritablePathIsAFailure) {
  Scratch scratch;
  CBaseCmp component;
  for (const char* path : {"missing/dir/out.xml", "", "."}) {
    component.discoveryPath = path;
    EXPECT_FALSE(component.WriteDiscoveryXml()) << path;
  }
}

}  // namespace
