// The adapter lines of the Dazudu engine's query output, read without
// backtracking.
#ifndef COMPONENT_VENDORS_DAZUDU_LINE_H
#define COMPONENT_VENDORS_DAZUDU_LINE_H

#include <string>
#include <vector>

namespace DazuduComp {

// The pattern that one adapter line of the query output matches as a whole,
// compiled with dot-matches-all.
extern const char* const kAdapterLinePattern;

// Decides in time linear in the line whether kAdapterLinePattern matches the
// whole line, and gives the seven groups that the backtracking engine's
// greedy match assigns (model, PCI ID, VID, SSID, SVID, firmware, boot code).
// The engine itself needs time that grows with a high power of the line
// length on lines full of commas and field names, so hostile engine output
// is screened and long lines are read here.
bool ParseAdapterLine(const std::string& line, std::vector<std::string>& groups);

}  // namespace DazuduComp

#endif
