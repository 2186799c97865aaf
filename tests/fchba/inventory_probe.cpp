// Runs one inventory scan with the program's own fixed paths and prints each
// record's fields, one record per line, separated by "|".
#include <cstdio>

#include "fchba/fc_hba_inventory.h"

int main() {
  FcHbaInventory inventory;
  inventory.Collect();
  for (std::size_t i = 0; i < inventory.Count(); ++i) {
    const FcHbaInfo& r = *inventory.At(i);
    std::printf("%s|%s|%s|%s|%s|%s|%s|%s\n", r.NodeWwn, r.PortWwn, r.PciIds, r.SubsystemIds,
                r.DriverVersion, r.FirmwareVersion, r.OptionRomVersion, r.Model);
  }
  return 0;
}
