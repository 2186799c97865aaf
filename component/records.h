// Plain records of the update component: the reference file's content and
// the discovered devices with their firmware items.
#ifndef COMPONENT_RECORDS_H
#define COMPONENT_RECORDS_H

#include <cstdint>
#include <string>
#include <vector>

// One "device" element of the reference file.
struct RefDevice {
  std::wstring type;
  std::wstring device_id;
  std::wstring model;
  std::wstring firmware;
  std::wstring bios;
  std::wstring boot;
  std::wstring duration;
  uint32_t biosFlag = 2;  // 0 when the device has a "bios" child with an empty value
};

// The content of "reference.xml".
struct ReferenceData {
  std::wstring discoveryAppPath;
  std::wstring installerAppPath;
  std::vector<RefDevice> devices;

  // Reads "reference.xml" from the working directory and appends what it
  // holds; false when the file is missing or not well-formed.
  bool Load();
};

struct OsInfo {
  std::wstring osName;  // "rhel4", "rhel5", "rhel6", "sles10", "sles11" or empty
  std::wstring osReserved;
};

// One firmware image of a discovered device.
struct FwItem {
  std::wstring type;
  std::wstring firmware_id;
  std::wstring version;         // the version the component carries
  std::wstring active_version;  // the version installed on the adapter
  std::wstring action;          // "upgrade", "downgrade" or "rewrite"
  std::wstring duration;
  std::wstring message;
  std::wstring shared;
};

// One discovered adapter.
struct DeviceInfo {
  std::wstring device_id;
  std::wstring product_id;
  std::wstring busnumber;
  std::wstring reserved;  // not written to the self-discovery file
  std::wstring funcnumber;
  std::vector<FwItem> items;
};

struct DiscoveryData {
  OsInfo os;
  std::wstring type;
  std::wstring alt_name;
  std::wstring version;
  std::wstring takes_effect;
  std::vector<DeviceInfo> devices;
};

#endif
