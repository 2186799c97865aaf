#include "dazudu_line.h"

#include <cstring>

namespace DazuduComp {

const char* const kAdapterLinePattern =
    "HBA=(.+),.*PCI ID=(\\w{1,4}),.*VID=(\\w{1,4}),.*SSID=(\\w{1,4}),.*SVID=(\\w{1,4}),"
    ".*Firmware=(.+),.*Boot Code=([\\w\\.]+).*";

namespace {

// Every field of the pattern but the first is reached through a greedy ".*",
// which tries the latest occurrence of the field name first. So the match
// takes, for each field, the latest occurrence from which the rest of the
// pattern can still match, and that occurrence does not depend on where the
// field before it ended. Working from the last field back to the first, each
// field's latest workable start bounds where the one before it may end.

constexpr std::size_t kNone = std::string::npos;

bool IsWord(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The latest occurrence of word starting at or before last; kNone when none
// (or when last is kNone).
std::size_t LatestAtOrBefore(const std::string& line, const char* word, std::size_t last) {
  return last == kNone ? kNone : line.rfind(word, last);
}

std::size_t Earlier(std::size_t at) { return at == 0 ? kNone : at - 1; }

// A field "name=id," where id is 1 to 4 word characters: its latest
// occurrence whose comma ends at or before limit (the rest of the line must
// start there). Returns the occurrence or kNone and sets id.
std::size_t LatestIdField(const std::string& line, const char* name, std::size_t limit,
                          std::string& id) {
  const std::size_t nameLength = std::strlen(name);
  for (std::size_t at = LatestAtOrBefore(line, name, limit); at != kNone;
       at = LatestAtOrBefore(line, name, Earlier(at))) {
    const std::size_t start = at + nameLength;
    std::size_t length = 0;
    while (length < 5 && start + length < line.size() && IsWord(line[start + length])) ++length;
    const std::size_t comma = start + length;
    if (length >= 1 && length <= 4 && comma < line.size() && line[comma] == ',' && comma + 1 <= limit) {
      id = line.substr(start, length);
      return at;
    }
  }
  return kNone;
}

}  // namespace

bool ParseAdapterLine(const std::string& line, std::vector<std::string>& groups) {
  // "Boot Code=([\w\.]+).*": the latest name followed by at least one
  // character of the class; the group takes the whole run.
  std::size_t boot = kNone;
  std::size_t bootStart = 0;
  for (std::size_t at = line.rfind("Boot Code="); at != kNone;
       at = LatestAtOrBefore(line, "Boot Code=", Earlier(at))) {
    bootStart = at + 10;
    if (bootStart < line.size() && (IsWord(line[bootStart]) || line[bootStart] == '.')) {
      boot = at;
      break;
    }
  }
  if (boot == kNone) return false;
  std::size_t bootEnd = bootStart;
  while (bootEnd < line.size() && (IsWord(line[bootEnd]) || line[bootEnd] == '.')) ++bootEnd;

  // "Firmware=(.+),": the group ends at the latest comma before the boot
  // field, and holds at least one character.
  const std::size_t firmwareComma = LatestAtOrBefore(line, ",", Earlier(boot));
  if (firmwareComma == kNone || firmwareComma < 10) return false;
  const std::size_t firmware = LatestAtOrBefore(line, "Firmware=", firmwareComma - 10);
  if (firmware == kNone) return false;

  std::string svid, ssid, vid, pciId;
  const std::size_t svidAt = LatestIdField(line, "SVID=", firmware, svid);
  const std::size_t ssidAt = LatestIdField(line, "SSID=", svidAt, ssid);
  const std::size_t vidAt = LatestIdField(line, "VID=", ssidAt, vid);
  const std::size_t pciAt = LatestIdField(line, "PCI ID=", vidAt, pciId);
  if (pciAt == kNone) return false;

  // "HBA=(.+),": at the start of the line; the model ends at the latest
  // comma before the PCI ID field and holds at least one character.
  if (line.compare(0, 4, "HBA=") != 0) return false;
  const std::size_t modelComma = LatestAtOrBefore(line, ",", Earlier(pciAt));
  if (modelComma == kNone || modelComma < 5) return false;

  groups = {line.substr(4, modelComma - 4), pciId, vid, ssid, svid,
            line.substr(firmware + 9, firmwareComma - firmware - 9),
            line.substr(bootStart, bootEnd - bootStart)};
  return true;
}

}  // namespace DazuduComp
