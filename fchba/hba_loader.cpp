#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "fchba/fixed_paths.h"
#include "fchba/hba_api.h"
#include "fchba/hba_conf.h"
#include "fchba/hba_tables.h"

namespace HbaTables {
HbaLibraryEntry gLibraries[kLibraryCount];
HbaAdapterEntry gAdapters[kAdapterCount];
HBA_UINT32 gAdapterTotal = 0;
}  // namespace HbaTables

using namespace HbaTables;

namespace {

void CopyText(char* field, std::size_t capacity, const char* text) {
  const std::size_t length = strnlen(text, capacity - 1);
  std::memcpy(field, text, length);
  field[length] = '\0';
}

void Unload(HbaLibraryEntry& entry) {
  if (entry.entryPoints.FreeLibraryHandler) entry.entryPoints.FreeLibraryHandler();
  if (entry.handle) dlclose(entry.handle);
  entry.handle = nullptr;
  entry.status = kUnloaded;
}

// The status a freshly opened library earns: previous when the library cannot
// be opened or lacks a step it needs, kUnloaded when a step fails.
HBA_UINT32 Register(HbaLibraryEntry& entry, HBA_UINT32 previous) {
  if (!entry.handle) return previous;
  auto registerLibrary =
      reinterpret_cast<HBARegisterLibraryFunc>(dlsym(entry.handle, "HBA_RegisterLibrary"));
  if (!registerLibrary) return previous;
  if (registerLibrary(&entry.entryPoints) != HBA_STATUS_OK) return kUnloaded;
  if (!entry.entryPoints.GetVersionHandler) return previous;
  if (entry.entryPoints.GetVersionHandler() == 0) return kUnloaded;
  if (!entry.entryPoints.LoadLibraryHandler) return previous;
  return entry.entryPoints.LoadLibraryHandler() == HBA_STATUS_OK ? kLoaded : kUnloaded;
}

void LoadEntry(HbaLibraryEntry& entry, const HbaConfEntry& line) {
  // A library still loaded from an earlier load is unloaded before its entry
  // is rewritten, so its handle is not lost and its vendor load not doubled.
  if (entry.status == kLoaded) Unload(entry);
  CopyText(entry.name, kLibraryNameSize, line.name.c_str());
  CopyText(entry.path, kPathSize, line.path.c_str());
  std::memset(&entry.entryPoints, 0, sizeof(entry.entryPoints));
  // An empty path would make the loader hand back the program itself.
  entry.handle = entry.path[0] ? dlopen(entry.path, RTLD_LAZY) : nullptr;
  entry.status = Register(entry, entry.status);
  if (entry.status != kLoaded && entry.handle) {
    // An unusable library is not kept open.
    dlclose(entry.handle);
    entry.handle = nullptr;
  }
}

}  // namespace

HBA_STATUS HBA_LoadLibrary() {
  const std::string confPath = FixedPaths::Resolve(FixedPaths::kHbaConf);
  std::FILE* file = std::fopen(confPath.c_str(), "r");
  if (!file) return HBA_STATUS_ERROR;
  std::size_t next = 0;
  std::string line;
  while (ReadHbaConfLine(file, &line)) {
    HbaConfEntry entry;
    if (!ParseHbaConfLine(line, &entry)) continue;
    // The table holds 32 libraries; further lines are not loaded.
    if (next >= kLibraryCount) continue;
    LoadEntry(gLibraries[next++], entry);
  }
  std::fclose(file);
  return HBA_STATUS_OK;
}

HBA_STATUS HBA_FreeLibrary() {
  for (HbaLibraryEntry& entry : gLibraries) {
    if (entry.status == kLoaded) Unload(entry);
  }
  return HBA_STATUS_OK;
}

HBA_UINT32 HBA_GetNumberOfAdapters() {
  gAdapterTotal = 0;
  for (HBA_UINT32 i = 0; i < kLibraryCount; ++i) {
    const HBA_ENTRYPOINTS& entryPoints = gLibraries[i].entryPoints;
    if (gLibraries[i].status != kLoaded || !entryPoints.GetNumberOfAdaptersHandler) continue;
    const HBA_UINT32 count = entryPoints.GetNumberOfAdaptersHandler();
    if (!entryPoints.GetAdapterNameHandler) continue;
    for (HBA_UINT32 j = 0; j < count; ++j) {
      // The table holds 64 adapters; the rest are not listed.
      if (gAdapterTotal >= kAdapterCount) return gAdapterTotal;
      // A name the vendor fails to report stays empty.
      char name[kAdapterNameSize] = {};
      entryPoints.GetAdapterNameHandler(j, name);
      name[kAdapterNameSize - 1] = '\0';
      HbaAdapterEntry& adapter = gAdapters[gAdapterTotal++];
      CopyText(adapter.name, kAdapterNameSize, name);
      adapter.library = i;
    }
  }
  return gAdapterTotal;
}

HBA_UINT32 HBA_GetVersion() { return 1; }

HBA_STATUS HBA_GetAdapterName(HBA_UINT32 index, char* name) {
  if (index >= gAdapterTotal) return HBA_STATUS_ERROR_ILLEGAL_INDEX;
  CopyText(name, kAdapterNameSize, gAdapters[index].name);
  return HBA_STATUS_OK;
}

HBA_HANDLE HBA_OpenAdapter(const char* name) {
  for (HBA_UINT32 i = 0; i < gAdapterTotal; ++i) {
    if (std::strcmp(gAdapters[i].name, name) != 0) continue;
    const HBA_UINT32 library = gAdapters[i].library;
    const HbaLibraryEntry& entry = gLibraries[library];
    // An unloaded library's entry points are gone.
    if (entry.status != kLoaded || !entry.entryPoints.OpenAdapterHandler) return 0;
    char vendorName[kAdapterNameSize];
    CopyText(vendorName, sizeof(vendorName), name);
    const HBA_HANDLE vendorHandle = entry.entryPoints.OpenAdapterHandler(vendorName);
    // The vendor's 0 is a failed open, whichever library reports it.
    if (vendorHandle == 0) return 0;
    const HBA_HANDLE handle = (library << 16) | (vendorHandle & 0xFFFF);
    // A handle that packs to 0 cannot be handed out; the adapter is closed
    // again rather than left open behind a failure.
    if (handle == 0 && entry.entryPoints.CloseAdapterHandler) {
      entry.entryPoints.CloseAdapterHandler(vendorHandle);
    }
    return handle;
  }
  return 0;
}

void* HbaGetAdapterLibrary(HBA_UINT32 index, char* path) {
  if (index >= gAdapterTotal) {
    std::memset(path, 0, kPathSize);
    return nullptr;
  }
  const HbaLibraryEntry& entry = gLibraries[gAdapters[index].library];
  std::memcpy(path, entry.path, kPathSize);
  return entry.handle;
}

HBA_STATUS HbaDecodeHandle(HBA_HANDLE handle, HBA_UINT32* library, HBA_UINT32* vendorHandle) {
  *library = handle >> 16;
  if (*library >= kLibraryCount) return HBA_STATUS_ERROR_INVALID_HANDLE;
  if (gLibraries[*library].status != kLoaded) return HBA_STATUS_ERROR;
  *vendorHandle = handle & 0xFFFF;
  return HBA_STATUS_OK;
}
