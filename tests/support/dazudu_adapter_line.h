// The Dazudu adapter-line pattern (DazuduComp::kAdapterLinePattern), for the
// engine's suites and the benchmark, which do not link the component. A
// component test checks that it is the program's own pattern.
#ifndef TESTS_SUPPORT_DAZUDU_ADAPTER_LINE_H
#define TESTS_SUPPORT_DAZUDU_ADAPTER_LINE_H

namespace test_support {

// Matched against a whole line with dot-matches-all (flag 4); groups 1 to 7
// are the model, PCI ID, VID, SSID, SVID, firmware and boot code.
inline constexpr char kDazuduAdapterLine[] =
    "HBA=(.+),.*PCI ID=(\\w{1,4}),.*VID=(\\w{1,4}),.*SSID=(\\w{1,4}),.*SVID=(\\w{1,4}),"
    ".*Firmware=(.+),.*Boot Code=([\\w\\.]+).*";

}  // namespace test_support

#endif
