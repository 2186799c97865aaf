// FcHbaInfo: the flat text record of one adapter that the inventory hands to
// the update component.
#ifndef FCHBA_FC_HBA_INFO_H
#define FCHBA_FC_HBA_INFO_H

#include <cstddef>

struct FcHbaInfo {
  static constexpr std::size_t kFieldSize = 256;  // at most 255 characters + NUL

  char NodeWwn[kFieldSize];
  char PortWwn[kFieldSize];       // first port's WWN; empty without a port
  char PciIds[kFieldSize];        // "%.4x%.4x" vendor/device, or "N/A"
  char SubsystemIds[kFieldSize];  // "%.4x%.4x" subsystem vendor/device
  char DriverVersion[kFieldSize];
  char Unused6[kFieldSize];  // filled by nothing
  char FirmwareVersion[kFieldSize];
  char OptionRomVersion[kFieldSize];
  char Unused9[kFieldSize];  // filled by nothing
  char Model[kFieldSize];

  FcHbaInfo();
};

// Copies text into a record field, cut to 255 characters and NUL-terminated.
void FcHbaSetField(char (&field)[FcHbaInfo::kFieldSize], const char* text);

#endif
