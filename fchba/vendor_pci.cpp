#include "fchba/vendor_pci.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "fchba/fc_hba_adapter.h"
#include "fchba/fixed_paths.h"
#include "fchba/hba_api.h"
#include "fchba/vdlfc_types.h"

namespace {

const FcVendorLibrary kZelvok = {"libzvsdm", "zvsdm", FixedPaths::kZelvokLibraries};
const FcVendorLibrary kDazudu = {"libdzsdm", "dzsdm", FixedPaths::kDazuduLibraries};
const FcVendorLibrary kMarqeth = {"mqhbaapi", "mqhbaapi", FixedPaths::kMarqethLibraries};

// The serving library's extended-attribute reader, for ReadVendorAttributes2.
VDLFCGetAdapterAttributes2Func gGetAdapterAttributes2 = nullptr;

void SetMessage(char* message, const char* text) {
  std::snprintf(message, kVendorMessageSize, "%s", text);
}

struct PciOutputs {
  HBA_UINT32* subsystemIds;
  uint8_t* bus;
  uint8_t* function;
  uint8_t* domain;
};

// Writes the record's PCI data when its NodeWWN is the adapter's.
bool CopyOnMatch(const VDLFC_ADAPTERATTRIBUTES2& record, const uint8_t* nodeWwn,
                 const PciOutputs& out) {
  if (std::memcmp(record.attributes.NodeWWN.wwn, nodeWwn, 8) != 0) return false;
  *out.subsystemIds = record.SubsystemIds;
  *out.bus = record.PciBus;
  *out.function = record.PciFunction;
  *out.domain = record.PciDomain;
  return true;
}

struct VendorEntryPoints {
  VDLFCLoadLibraryFunc load;
  VDLFCGetNumberOfAdaptersFunc count;
  VDLFCGetAdapterNameFunc name;
  VDLFCOpenAdapterFunc open;
  VDLFCGetAdapterAttributes2Func read;
  VDLFCCloseAdapterFunc close;
  VDLFCFreeLibraryFunc free;
};

template <typename Function>
Function SymbolAs(void* symbol) {
  return reinterpret_cast<Function>(symbol);
}

// Looks the seven symbols up in order; the first missing one's name, or null.
const char* LookUpVendorEntryPoints(void* library, VendorEntryPoints* entry) {
  static const char* const kNames[] = {
      "VDLFC_LoadLibrary", "VDLFC_GetNumberOfAdapters",   "VDLFC_GetAdapterName",
      "VDLFC_OpenAdapter", "VDLFC_GetAdapterAttributes2", "VDLFC_CloseAdapter",
      "VDLFC_FreeLibrary"};
  void* symbols[7];
  for (int i = 0; i < 7; ++i) {
    symbols[i] = dlsym(library, kNames[i]);
    if (!symbols[i]) return kNames[i];
  }
  entry->load = SymbolAs<VDLFCLoadLibraryFunc>(symbols[0]);
  entry->count = SymbolAs<VDLFCGetNumberOfAdaptersFunc>(symbols[1]);
  entry->name = SymbolAs<VDLFCGetAdapterNameFunc>(symbols[2]);
  entry->open = SymbolAs<VDLFCOpenAdapterFunc>(symbols[3]);
  entry->read = SymbolAs<VDLFCGetAdapterAttributes2Func>(symbols[4]);
  entry->close = SymbolAs<VDLFCCloseAdapterFunc>(symbols[5]);
  entry->free = SymbolAs<VDLFCFreeLibraryFunc>(symbols[6]);
  return nullptr;
}

void* OpenVendorLibrary(const FcVendorLibrary& vendor) {
  for (int i = 0; i < 3; ++i) {
    const std::string path = FixedPaths::Resolve(vendor.paths[i]);
    if (void* library = dlopen(path.c_str(), RTLD_LAZY)) return library;
  }
  return nullptr;
}

// The search over the vendor's adapters once its library is open and loaded.
HBA_INT32 SearchVendorAdapters(const VendorEntryPoints& vendor, const uint8_t* nodeWwn, char* name,
                               const PciOutputs& out, char* message) {
  const HBA_UINT32 count = vendor.count();
  for (HBA_UINT32 i = 0; i < count; ++i) {
    if (vendor.name(i, name) != 0) {
      SetMessage(message, "fail to get adapter number");
      vendor.free();
      return -5;
    }
    name[kVendorNameBufferSize - 1] = '\0';
    const HBA_HANDLE handle = vendor.open(name);
    if (handle == 0) {
      SetMessage(message, "fail to open adapter");
      vendor.free();
      return -4;
    }
    VdlfcRecordArea area;
    std::memset(&area, 0, sizeof(area));
    const HBA_UINT32 rc = vendor.read(handle, &area.record);
    if (rc != 0) {
      std::snprintf(message, kVendorMessageSize,
                    "fail to read adapter attribs, adapterHandle 0x%x, retStatus 0x%x", handle, rc);
      vendor.close(handle);
      vendor.free();
      return -3;
    }
    const bool matched = CopyOnMatch(area.record, nodeWwn, out);
    vendor.close(handle);
    if (matched) {
      vendor.free();
      return 0;
    }
  }
  SetMessage(message, "could not find WWNN match");
  vendor.free();
  return -6;
}

}  // namespace

const FcVendorLibrary& ChooseVendorLibrary(const char* adapterName) {
  if (std::strstr(adapterName, "zelvok")) return kZelvok;
  if (std::strstr(adapterName, "Dazudu")) return kDazudu;
  return kMarqeth;
}

HBA_UINT32 FindVendorAttributes2Function(const char* adapterName, const char* libraryPath,
                                         void* libHandle, char* message, HBA_UINT32* status) {
  const FcVendorLibrary& vendor = ChooseVendorLibrary(adapterName);
  if (!std::strstr(libraryPath, vendor.word)) return 0;
  if (!libHandle) {
    *status = 1;
    SetMessage(message, "libHandle is NULL; cannot dlsym");
    return 1;
  }
  gGetAdapterAttributes2 = reinterpret_cast<VDLFCGetAdapterAttributes2Func>(
      dlsym(libHandle, "VDLFC_GetAdapterAttributes2"));
  if (gGetAdapterAttributes2) {
    *status = 0;
    SetMessage(message, "dlsym for VDLFC_GetAdapterAttributes2 success!");
  } else {
    *status = 1;
    SetMessage(message, "unable to dlsym for VDLFC_GetAdapterAttributes2");
  }
  return 1;
}

HBA_INT32 ReadVendorAttributes2(const uint8_t* nodeWwn, HBA_UINT32* subsystemIds, uint8_t* bus,
                                uint8_t* function, uint8_t* domain, char* message,
                                HBA_HANDLE handle) {
  const HBA_HANDLE vendorHandle = handle & 0xFFFF;
  VdlfcRecordArea area;
  std::memset(&area, 0, sizeof(area));
  // Without a reader there is nothing to read; taken as a failed read.
  const HBA_UINT32 rc = gGetAdapterAttributes2 ? gGetAdapterAttributes2(vendorHandle, &area.record)
                                               : HBA_STATUS_ERROR;
  if (rc != 0) {
    std::snprintf(message, kVendorMessageSize,
                  "fail to read adapter attribs: handle used is 0x%x: retStatus is 0x%x",
                  vendorHandle, rc);
    return -3;
  }
  if (CopyOnMatch(area.record, nodeWwn, {subsystemIds, bus, function, domain})) {
    std::snprintf(message, kVendorMessageSize, "read adapter attribs Success! handle used is 0x%x",
                  vendorHandle);
  }
  return 0;
}

HBA_INT32 QueryVendorPciInfo(const uint8_t* nodeWwn, char* name, HBA_UINT32* subsystemIds,
                             uint8_t* bus, uint8_t* function, uint8_t* domain, char* message) {
  SetMessage(message, "pass");
  const FcVendorLibrary& vendor = ChooseVendorLibrary(name);
  void* library = OpenVendorLibrary(vendor);
  if (!library) {
    std::snprintf(message, kVendorMessageSize, "unable to load %s", vendor.loadName);
    return -1;
  }
  VendorEntryPoints entry = {};
  if (const char* missing = LookUpVendorEntryPoints(library, &entry)) {
    std::snprintf(message, kVendorMessageSize, "unable to dlsym for %s", missing);
    dlclose(library);
    return -2;
  }
  if (entry.load() != 0) {
    SetMessage(message, "fail to load library");
    dlclose(library);
    return -7;
  }
  const HBA_INT32 code =
      SearchVendorAdapters(entry, nodeWwn, name, {subsystemIds, bus, function, domain}, message);
  dlclose(library);
  return code;
}

void FcHbaAdapter::LoadVendorPciInfo() {
  char name[kVendorNameBufferSize] = {};
  std::snprintf(name, sizeof(name), "%s", name_.c_str());
  char path[256] = {};
  void* library = HbaGetAdapterLibrary(index_, path);
  path[sizeof(path) - 1] = '\0';
  char message[kVendorMessageSize] = {};
  HBA_UINT32 status = 0;

  if (FindVendorAttributes2Function(name, path, library, message, &status)) {
    if (status != 0) return;
    const HBA_HANDLE handle = HBA_OpenAdapter(name);
    if (handle == 0) return;
    ReadVendorAttributes2(nodeWwn_, &subsystemIds_, &pciBus_, &pciFunction_, &pciDomain_, message,
                          handle);
    HBA_CloseAdapter(handle);
    return;
  }
  // The vendor's own library is loaded by itself, so the HBA libraries are
  // unloaded around it and loaded again for the next adapter.
  HBA_FreeLibrary();
  QueryVendorPciInfo(nodeWwn_, name, &subsystemIds_, &pciBus_, &pciFunction_, &pciDomain_, message);
  HBA_LoadLibrary();
}
