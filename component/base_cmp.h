// CBaseCmp: the update component base class. It owns the log, the options,
// the adapter inventory, the reference data and the discovery data, and runs
// one update from start to end. Vendor classes plug in through the virtual
// operations, declared here in their fixed slot order.
#ifndef COMPONENT_BASE_CMP_H
#define COMPONENT_BASE_CMP_H

#include <cstdint>
#include <string>
#include <vector>

#include "fchba/fc_hba_inventory.h"
#include "component/logger.h"
#include "component/records.h"

class CBaseCmp {
 public:
  // Returned by FindReferenceDevice when no reference device matches.
  static constexpr uint32_t kNoReference = 0xFFFFFFFFu;

  CBaseCmp();
  virtual ~CBaseCmp();
  CBaseCmp(const CBaseCmp&) = delete;
  CBaseCmp& operator=(const CBaseCmp&) = delete;

  // Fills the discovered devices; the base route goes through the inventory.
  virtual bool Discover();
  // Normalises a version text; the base returns it unchanged. Of the
  // discovery routes, only the Marqeth one calls it.
  virtual std::wstring NormalizeVersion(std::wstring version);
  // Vendor hook of the inventory route; the base does nothing.
  virtual void DiscoverVendorDevices();
  // Prepares the vendor kit; 0 on success. The Dazudu discovery calls it and
  // fails when it does not return 0.
  virtual int PrepareKit();
  // Runs the vendor flash engine; the component exit code.
  virtual int Flash();
  // Writes the discovery data to discoveryPath; false on failure.
  virtual bool WriteDiscoveryXml();
  // Index of the reference device whose device_id equals key ignoring case,
  // or kNoReference.
  virtual uint32_t FindReferenceDevice(std::wstring key);

  // Results of ParseCommandLine.
  static constexpr int kCommandLineError = 0;  // command-line error (usage shown)
  static constexpr int kCommandLineRun = 1;    // go on with the run
  static constexpr int kCommandLineUsage = 2;  // usage shown (/h)

  // kCommandLineRun, kCommandLineUsage or kCommandLineError.
  int ParseCommandLine(int argc, const char* const* argv);
  // Writes the usage text to standard output (not to the log).
  void PrintUsage();
  // The run sequence; returns the process exit code.
  int Run();
  // Over all firmware items: 1 upgrade, 4 downgrade, 2 rewrite, 0 none.
  int GetOverallAction();
  bool HasDevices();

  // Recognises the distribution from its release file into discovery.os.
  int DetectOs();
  // The action text of a firmware item for a CompareVersions result:
  // 1 "upgrade", -1 "downgrade", 0 "rewrite".
  static const wchar_t* ActionText(int comparison);
  // 1 when a is newer than b, -1 when older, 0 when equal.
  static int CompareVersions(const std::wstring& a, const std::wstring& b);
  static std::vector<std::wstring> SplitString(const std::wstring& text, wchar_t delimiter);
  static int CompareVersionParts(const std::vector<std::wstring>& a,
                                 const std::vector<std::wstring>& b);
  static std::wstring ToUpper(const std::wstring& text);
  // The device key of inventory record index (0 <= index < count).
  std::wstring BuildDeviceKey(int32_t index);

  CLogger log;
  bool silent;
  bool discoveryMode;
  bool force;
  FcHbaInventory inventory;
  ReferenceData reference;
  DiscoveryData discovery;
  std::string discoveryPath;
};

#endif
