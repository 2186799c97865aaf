#include "fchba/fc_hba_port.h"

#include <cstring>

#include "fchba/wwn_text.h"

namespace {

constexpr HBA_UINT32 kUnknownCode = 1;

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

struct CodeText {
  HBA_UINT32 code;
  const char* text;
};

// Looks code up in a table; codes not listed are "Unknown".
template <std::size_t N>
std::string LookUp(const CodeText (&table)[N], HBA_UINT32 code) {
  for (const CodeText& entry : table) {
    if (entry.code == code) return entry.text;
  }
  return "Unknown";
}

}  // namespace

FcHbaPort::FcHbaPort()
    : portWwn_{},
      portFcId_(0),
      portType_(kUnknownCode),
      portState_(kUnknownCode),
      portSymbolicName_("Undefined"),
      osDeviceName_("Undefined"),
      portSupportedSpeed_(0),
      portSpeed_(0),
      portMaxFrameSize_(0),
      fabricName_{},
      portIndex_(0),
      portActiveFc4Types_{},
      portSupportedFc4Types_{},
      statistics_{} {}

void FcHbaPort::SetAttributes(const HBA_PORTATTRIBUTES& attributes, HBA_UINT32 portIndex) {
  std::memcpy(portWwn_, attributes.PortWWN.wwn, sizeof(portWwn_));
  portFcId_ = attributes.PortFcId;
  portType_ = attributes.PortType;
  portState_ = attributes.PortState;
  portSymbolicName_ = FieldText(attributes.PortSymbolicName);
  osDeviceName_ = FieldText(attributes.OSDeviceName);
  portSupportedSpeed_ = attributes.PortSupportedSpeed;
  portSpeed_ = attributes.PortSpeed;
  portMaxFrameSize_ = attributes.PortMaxFrameSize;
  std::memcpy(fabricName_, attributes.FabricName.wwn, sizeof(fabricName_));
  portIndex_ = portIndex;
  std::memcpy(portActiveFc4Types_, attributes.PortActiveFc4Types.bits, sizeof(portActiveFc4Types_));
  std::memcpy(portSupportedFc4Types_, attributes.PortSupportedFc4Types.bits,
              sizeof(portSupportedFc4Types_));
}

void FcHbaPort::SetStatistics(const HBA_PORTSTATISTICS& statistics) {
  static_assert(sizeof(statistics) == sizeof(statistics_), "one slot per counter");
  HBA_INT64 counters[kCounterCount];
  std::memcpy(counters, &statistics, sizeof(counters));
  for (int i = 0; i < kCounterCount; ++i) {
    if (counters[i] != -1) statistics_[i] = counters[i];
  }
}

void FcHbaPort::FillDemo(HBA_UINT32 portIndex) {
  std::memset(portWwn_, 0xFA, sizeof(portWwn_));
  std::memset(fabricName_, 0xFB, sizeof(fabricName_));
  portFcId_ = 99;
  portType_ = 5;
  portState_ = 2;
  portSymbolicName_ = "ACME FC Port";
  osDeviceName_ = "ACME OS Device";
  portSupportedSpeed_ = 4;
  portSpeed_ = 4;
  portMaxFrameSize_ = 1024;
  portIndex_ = portIndex;
  for (int i = 0; i < kCounterCount; ++i) statistics_[i] = i + 1;
}

std::string FcHbaPort::GetPortWwnText() const { return WwnText(portWwn_); }

std::string FcHbaPort::GetFabricNameText() const { return WwnText(fabricName_); }

std::string FcHbaPort::SpeedText(HBA_UINT32 speedMask) {
  // The first listed bit that is set wins, in this order.
  static const CodeText kSpeeds[] = {{0x8000, "Not Negotiated"},
                                     {0x20, "16 GB"},
                                     {0x4, "10 GB"},
                                     {0x10, "8 GB"},
                                     {0x8, "4 GB"},
                                     {0x2, "2 GB"},
                                     {0x1, "1 GB"}};
  for (const CodeText& speed : kSpeeds) {
    if (speedMask & speed.code) return speed.text;
  }
  return "Unknown";
}

std::string FcHbaPort::StateText() const {
  static const CodeText kStates[] = {{1, "Unknown"},  {2, "Online"},           {3, "Offline"},
                                     {4, "Bypassed"}, {5, "Diagnostics Mode"}, {6, "Link Down"},
                                     {7, "Error"},    {8, "Loopback"}};
  return LookUp(kStates, portState_);
}

std::string FcHbaPort::TypeText() const {
  static const CodeText kTypes[] = {{1, "Unknown"},
                                    {2, "Other"},
                                    {3, "Not Present"},
                                    {5, "Fabric"},
                                    {6, "Public Loop"},
                                    {7, "FL Port"},
                                    {8, "Fabric Port"},
                                    {9, "Fabric expansion port"},
                                    {10, "Generic Fabric Port"},
                                    {20, "Private Loop"},
                                    {21, "Point to Point"}};
  return LookUp(kTypes, portType_);
}
