#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fchba/fc_hba_port.h"
#include "fchba/wwn_text.h"

namespace {

TEST(FcHbaPort, StartsUnknownAndUndefined) {
  const FcHbaPort port;
  EXPECT_EQ(port.StateText(), "Unknown");
  EXPECT_EQ(port.TypeText(), "Unknown");
  EXPECT_EQ(port.GetPortSymbolicName(), "Undefined");
  EXPECT_EQ(port.GetOsDeviceName(), "Undefined");
  EXPECT_EQ(port.GetPortWwnText(), "00:00:00:00:00:00:00:00");
  for (int i = 0; i < FcHbaPort::kCounterCount; ++i) EXPECT_EQ(port.GetCounter(i), 0);
}

TEST(WwnText, UpperCaseColonSeparated) {
  const uint8_t wwn[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  EXPECT_EQ(WwnText(wwn), "01:23:45:67:89:AB:CD:EF");
}

TEST(FcHbaPort, SpeedText) {
  const struct {
    HBA_UINT32 mask;
    const char* text;
  } cases[] = {{0x0B, "4 GB"},  {0x8001, "Not Negotiated"},
               {0, "Unknown"},  {0x1, "1 GB"},
               {0x2, "2 GB"},   {0x8, "4 GB"},
               {0x10, "8 GB"},  {0x14, "10 GB"},
               {0x24, "16 GB"}, {0x40, "Unknown"},
               {0x18, "8 GB"}};
  for (const auto& c : cases) EXPECT_EQ(FcHbaPort::SpeedText(c.mask), c.text) << std::hex << c.mask;
}

HBA_PORTATTRIBUTES Attributes(HBA_UINT32 type, HBA_UINT32 state) {
  HBA_PORTATTRIBUTES attributes;
  std::memset(&attributes, 0, sizeof(attributes));
  attributes.PortType = type;
  attributes.PortState = state;
  return attributes;
}

TEST(FcHbaPort, StateText) {
  const char* texts[] = {"Unknown",          "Unknown",   "Online", "Offline",  "Bypassed",
                         "Diagnostics Mode", "Link Down", "Error",  "Loopback", "Unknown"};
  for (HBA_UINT32 state = 0; state < 10; ++state) {
    FcHbaPort port;
    port.SetAttributes(Attributes(1, state), 0);
    EXPECT_EQ(port.StateText(), texts[state]) << state;
  }
}

TEST(FcHbaPort, TypeText) {
  const struct {
    HBA_UINT32 type;
    const char* text;
  } cases[] = {{0, "Unknown"},
               {1, "Unknown"},
               {2, "Other"},
               {3, "Not Present"},
               {4, "Unknown"},
               {5, "Fabric"},
               {6, "Public Loop"},
               {7, "FL Port"},
               {8, "Fabric Port"},
               {9, "Fabric expansion port"},
               {10, "Generic Fabric Port"},
               {11, "Unknown"},
               {20, "Private Loop"},
               {21, "Point to Point"},
               {22, "Unknown"}};
  for (const auto& c : cases) {
    FcHbaPort port;
    port.SetAttributes(Attributes(c.type, 1), 0);
    EXPECT_EQ(port.TypeText(), c.text) << c.type;
  }
}

TEST(FcHbaPort, SetAttributesCopiesFieldsAndKeepsTextsInsideFields) {
  HBA_PORTATTRIBUTES attributes = Attributes(6, 2);
  for (int i = 0; i < 8; ++i) {
    attributes.PortWWN.wwn[i] = static_cast<HBA_UINT8>(0x10 + i);
    attributes.FabricName.wwn[i] = static_cast<HBA_UINT8>(0xA0 + i);
  }
  attributes.PortFcId = 0x010203;
  attributes.PortSpeed = 8;
  attributes.PortMaxFrameSize = 2112;
  attributes.PortActiveFc4Types.bits[3] = 7;
  attributes.PortSupportedFc4Types.bits[3] = 9;
  std::memset(attributes.PortSymbolicName, 'S', sizeof(attributes.PortSymbolicName));
  std::strcpy(attributes.OSDeviceName, "/dev/host3");
  FcHbaPort port;
  port.SetAttributes(attributes, 4);
  EXPECT_EQ(port.GetPortWwnText(), "10:11:12:13:14:15:16:17");
  EXPECT_EQ(port.GetFabricNameText(), "A0:A1:A2:A3:A4:A5:A6:A7");
  EXPECT_EQ(port.GetPortFcId(), 0x010203u);
  EXPECT_EQ(port.GetPortIndex(), 4u);
  EXPECT_EQ(port.GetPortSpeed(), 8u);
  EXPECT_EQ(port.GetPortMaxFrameSize(), 2112u);
  EXPECT_EQ(port.GetPortActiveFc4Types()[3], 7);
  EXPECT_EQ(port.GetPortSupportedFc4Types()[3], 9);
  EXPECT_EQ(port.GetPortSymbolicName(), std::string(256, 'S'));
  EXPECT_EQ(port.GetOsDeviceName(), "/dev/host3");
}

TEST(FcHbaPort, AllOnesCounterKeepsItsPreviousValue) {
  FcHbaPort port;
  port.FillDemo(0);
  HBA_PORTSTATISTICS statistics;
  HBA_INT64 counters[15];
  for (int i = 0; i < 15; ++i) counters[i] = 100 + i;
  counters[5] = -1;  // LIPCount unsupported
  counters[14] = -2;
  std::memcpy(&statistics, counters, sizeof(counters));
  port.SetStatistics(statistics);
  EXPECT_EQ(port.GetLipCount(), 6);
  EXPECT_EQ(port.GetTxFrames(), 101);
  EXPECT_EQ(port.GetInvalidCrcCount(), -2);
}

TEST(FcHbaPort, FillDemo) {
  FcHbaPort port;
  port.FillDemo(3);
  EXPECT_EQ(port.GetPortWwnText(), "FA:FA:FA:FA:FA:FA:FA:FA");
  EXPECT_EQ(port.GetFabricNameText(), "FB:FB:FB:FB:FB:FB:FB:FB");
  EXPECT_EQ(port.GetPortFcId(), 99u);
  EXPECT_EQ(port.TypeText(), "Fabric");
  EXPECT_EQ(port.StateText(), "Online");
  EXPECT_EQ(port.GetPortSymbolicName(), "ACME FC Port");
  EXPECT_EQ(port.GetOsDeviceName(), "ACME OS Device");
  EXPECT_EQ(FcHbaPort::SpeedText(port.GetPortSpeed()), "10 GB");
  EXPECT_EQ(port.GetPortSupportedSpeed(), 4u);
  EXPECT_EQ(port.GetPortMaxFrameSize(), 1024u);
  EXPECT_EQ(port.GetPortIndex(), 3u);
  EXPECT_EQ(port.GetSecondsSinceLastReset(), 1);
  EXPECT_EQ(port.GetInvalidCrcCount(), 15);
  EXPECT_EQ(port.GetCounter(14), 15);
  EXPECT_EQ(port.GetCounter(15), 0);
  EXPECT_EQ(port.GetCounter(-1), 0);
}

}  // namespace
