// FcHbaPort: one port of an adapter, its attributes and statistics.
#ifndef FCHBA_FC_HBA_PORT_H
#define FCHBA_FC_HBA_PORT_H

#include <cstdint>
#include <string>

#include "fchba/hba_types.h"

class FcHbaPort {
 public:
  static constexpr int kCounterCount = 15;

  FcHbaPort();
  virtual ~FcHbaPort() = default;
  FcHbaPort(const FcHbaPort&) = default;
  FcHbaPort& operator=(const FcHbaPort&) = default;

  void SetAttributes(const HBA_PORTATTRIBUTES& attributes, HBA_UINT32 portIndex);
  // Copies each counter that is not all ones (unsupported); such a counter
  // keeps its previous value.
  void SetStatistics(const HBA_PORTSTATISTICS& statistics);
  // Fixed demonstration values.
  void FillDemo(HBA_UINT32 portIndex);

  std::string GetPortWwnText() const;
  std::string GetFabricNameText() const;
  static std::string SpeedText(HBA_UINT32 speedMask);
  std::string StateText() const;
  std::string TypeText() const;

  const uint8_t* GetPortWwn() const { return portWwn_; }
  const uint8_t* GetFabricName() const { return fabricName_; }
  HBA_UINT32 GetPortFcId() const { return portFcId_; }
  HBA_UINT32 GetPortType() const { return portType_; }
  HBA_UINT32 GetPortState() const { return portState_; }
  HBA_UINT32 GetPortIndex() const { return portIndex_; }
  HBA_UINT32 GetPortSupportedSpeed() const { return portSupportedSpeed_; }
  HBA_UINT32 GetPortSpeed() const { return portSpeed_; }
  HBA_UINT32 GetPortMaxFrameSize() const { return portMaxFrameSize_; }
  std::string GetPortSymbolicName() const { return portSymbolicName_; }
  std::string GetOsDeviceName() const { return osDeviceName_; }
  const uint8_t* GetPortActiveFc4Types() const { return portActiveFc4Types_; }
  const uint8_t* GetPortSupportedFc4Types() const { return portSupportedFc4Types_; }

  // The counters in the order of HBA_PORTSTATISTICS.
  HBA_INT64 GetSecondsSinceLastReset() const { return statistics_[0]; }
  HBA_INT64 GetTxFrames() const { return statistics_[1]; }
  HBA_INT64 GetTxWords() const { return statistics_[2]; }
  HBA_INT64 GetRxFrames() const { return statistics_[3]; }
  HBA_INT64 GetRxWords() const { return statistics_[4]; }
  HBA_INT64 GetLipCount() const { return statistics_[5]; }
  HBA_INT64 GetNosCount() const { return statistics_[6]; }
  HBA_INT64 GetErrorFrames() const { return statistics_[7]; }
  HBA_INT64 GetDumpedFrames() const { return statistics_[8]; }
  HBA_INT64 GetLinkFailureCount() const { return statistics_[9]; }
  HBA_INT64 GetLossOfSyncCount() const { return statistics_[10]; }
  HBA_INT64 GetLossOfSignalCount() const { return statistics_[11]; }
  HBA_INT64 GetPrimitiveSeqProtocolErrCount() const { return statistics_[12]; }
  HBA_INT64 GetInvalidTxWordCount() const { return statistics_[13]; }
  HBA_INT64 GetInvalidCrcCount() const { return statistics_[14]; }
  // Counter i (0 to 14) in the same order; 0 for any other i.
  HBA_INT64 GetCounter(int i) const { return i >= 0 && i < kCounterCount ? statistics_[i] : 0; }

 private:
  uint8_t portWwn_[8];
  HBA_UINT32 portFcId_;
  HBA_UINT32 portType_;
  HBA_UINT32 portState_;
  std::string portSymbolicName_;
  std::string osDeviceName_;
  HBA_UINT32 portSupportedSpeed_;
  HBA_UINT32 portSpeed_;
  HBA_UINT32 portMaxFrameSize_;
  uint8_t fabricName_[8];
  HBA_UINT32 portIndex_;
  uint8_t portActiveFc4Types_[32];
  uint8_t portSupportedFc4Types_[32];
  HBA_INT64 statistics_[kCounterCount];
};

#endif
